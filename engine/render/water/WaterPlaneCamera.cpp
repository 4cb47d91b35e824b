#include "engine/render/water/WaterPlaneCamera.h"

#include <cmath>


namespace zel {

Matrix4 MirrorAboutHeight(float height) { return {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 2.0f * height, 0, 1}; }

Matrix4 ObliqueProjection(const Matrix4& projection, const Matrix4& viewProjection, const Vector4& worldPlane) {
    // The plane in view space, where the camera sits at the origin.
    const Matrix4 view = viewProjection * projection.Inverse();
    Vector4 plane = worldPlane * view.Inverse().Transposed();
    if (plane.w == 0.0f) return projection;
    // The camera on the clipped side: what lies beyond the plane is kept.
    if (plane.w > 0.0f) plane = -plane;
    // Scaled so that the far plane passes through the far corner of the
    // view frustum on the kept side: nothing in view beyond the water plane
    // is lost to a tilted far plane, however far away it is.
    auto sign = [](float v) { return v > 0.0f ? 1.0f : (v < 0.0f ? -1.0f : 0.0f); };
    const Vector4 corner = Vector4{sign(plane.x), sign(plane.y), 1.0f, 1.0f} * projection.Inverse();
    const float scale = plane.x * corner.x + plane.y * corner.y + plane.z * corner.z + plane.w * corner.w;
    if (scale == 0.0f || !std::isfinite(scale)) return projection;
    plane = plane * (1.0f / scale);
    Matrix4 oblique = projection;
    oblique.m[0][2] = plane.x;
    oblique.m[1][2] = plane.y;
    oblique.m[2][2] = plane.z;
    oblique.m[3][2] = plane.w;
    return oblique;
}

}  // namespace zel
