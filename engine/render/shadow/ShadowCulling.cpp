#include "engine/render/shadow/ShadowCulling.h"

#include <cmath>

#include "engine/scene/SphereBoundingVolume.h"

namespace zel {

namespace {

// The half-space a · p + d ≥ 0 as a plane with a unit inward normal.
Plane HalfSpace(float ax, float ay, float az, float d) {
    const float length = std::sqrt(ax * ax + ay * ay + az * az);
    if (length <= 0.0f) return Plane{};
    return Plane{{ax / length, ay / length, az / length}, -d / length};
}

// Clip coordinate j of p · M is p · column j, the last row the constant.
Plane ColumnSum(const Matrix4& m, int32_t j, float sign) {
    return HalfSpace(m.m[0][3] + sign * m.m[0][j], m.m[1][3] + sign * m.m[1][j], m.m[2][3] + sign * m.m[2][j],
                     m.m[3][3] + sign * m.m[3][j]);
}

// Whether sweeping the sphere away from the light can bring it across the
// plane from its negative side.
bool SweepCanCross(const Plane& plane, const BoundingVolume& bound, const Light& light) {
    if (light.GetLightType() == Light::kDirectional) return Dot(plane.normal, light.GetShiningDirection()) > 0.0f;
    if (bound.GetType() != BoundingVolume::kSphere) return true;
    // Along the rays from the light the sweep only moves outwards while the
    // whole sphere lies no further inside than the light itself.
    const float radius = static_cast<const SphereBoundingVolume&>(bound).GetRadius();
    return plane.SignedDistance(bound.GetCenter()) + radius > plane.SignedDistance(light.GetPosition());
}

}  // namespace

ClipVolume ClipVolume::FromMatrix(const Matrix4& m) {
    ClipVolume volume;
    volume.planes[0] = ColumnSum(m, 0, 1.0f);   // x ≥ −w
    volume.planes[1] = ColumnSum(m, 0, -1.0f);  // x ≤ w
    volume.planes[2] = ColumnSum(m, 1, 1.0f);   // y ≥ −w
    volume.planes[3] = ColumnSum(m, 1, -1.0f);  // y ≤ w
    volume.planes[4] = HalfSpace(m.m[0][2], m.m[1][2], m.m[2][2], m.m[3][2]);  // z ≥ 0
    volume.planes[5] = ColumnSum(m, 2, -1.0f);  // z ≤ w
    return volume;
}

bool ClipVolume::Reaches(const BoundingVolume& bound) const {
    for (const Plane& plane : planes)
        if (plane.normal != Vector3{} && bound.WhichSide(plane) < 0) return false;
    return true;
}

bool ShadowReachesView(const BoundingVolume& bound, const Camera& viewer, const Light& light) {
    for (int32_t i = 0; i < Camera::kPlaneCount; ++i) {
        const Plane& plane = viewer.GetPlane(i);
        if (bound.WhichSide(plane) < 0 && !SweepCanCross(plane, bound, light)) return false;
    }
    return true;
}

bool InsideView(Camera& camera, const BoundingVolume& bound) {
    const int32_t saved = camera.GetPlaneMask();
    camera.SetPlaneMask(-1);
    const bool culled = camera.IsCulled(bound);
    camera.SetPlaneMask(saved);
    return !culled;
}

}  // namespace zel
