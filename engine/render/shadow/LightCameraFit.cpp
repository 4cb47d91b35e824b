#include "engine/render/shadow/LightCameraFit.h"

#include <cfloat>
#include <cmath>

#include "engine/math/Matrix3.h"

namespace zel {

namespace {

// Keeps divisions finite when a box or a sine collapses.
constexpr float kTiny = 1e-6f;

float NonZero(float value) { return std::fabs(value) < kTiny ? (value < 0.0f ? -kTiny : kTiny) : value; }

// The viewer's perspective, from which the frustum corners are taken.
Matrix4 ViewerPerspective(const ViewerFrustum& viewer) {
    const float cot = 1.0f / std::tan(viewer.fov * 0.5f);
    const float q = viewer.farPlane / NonZero(viewer.farPlane - viewer.nearPlane);
    Matrix4 f = Matrix4::Zero();
    f.m[0][0] = cot / NonZero(viewer.aspect);
    f.m[1][1] = cot;
    f.m[2][2] = q;
    f.m[2][3] = 1.0f;
    f.m[3][2] = -q * viewer.nearPlane;
    return f;
}

// Columns u, h, w: a view-space point p becomes (p · u, p · h, p · w).
Matrix4 LightBasis(const ViewerFrustum& viewer, const Vector3& lightDirection) {
    const Vector3 h = Normalize(viewer.view.TransformDirection(-lightDirection));
    const Vector3 u = Normalize(Cross(h, {0.0f, 0.0f, 1.0f}));
    const Vector3 w = Normalize(Cross(u, h));
    return Matrix4::FromMatrix3(Matrix3::FromColumns(u, h, w));
}

}  // namespace

float WarpDistance(float cosGamma, float radius) {
    const float sinGamma = std::fabs(std::sqrt(std::fmax(0.0f, 1.0f - cosGamma * cosGamma)));
    return (1.0f + std::sqrt(2.0f * std::fmax(0.0f, radius))) / NonZero(sinGamma);
}

LightCameraMatrices FitLightToViewer(const ViewerFrustum& viewer, const Vector3& lightDirection, float cosGamma,
                                     float radius) {
    static const Vector3 kClipCorners[8] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0},
                                            {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}};
    const Matrix4 toView = ViewerPerspective(viewer).Inverse();
    const Matrix4 basis = LightBasis(viewer, lightDirection);
    Vector3 corners[8];
    Vector3 low{FLT_MAX, FLT_MAX, FLT_MAX}, high{-FLT_MAX, -FLT_MAX, -FLT_MAX};
    for (int32_t i = 0; i < 8; ++i) {
        corners[i] = basis.TransformPoint(toView.TransformCoord(kClipCorners[i]));
        low = {std::fmin(low.x, corners[i].x), std::fmin(low.y, corners[i].y), std::fmin(low.z, corners[i].z)};
        high = {std::fmax(high.x, corners[i].x), std::fmax(high.y, corners[i].y), std::fmax(high.z, corners[i].z)};
    }
    // The warp origin: the box centre pulled back n behind the box.
    const float n = WarpDistance(cosGamma, radius);
    Vector3 origin = (low + high) * 0.5f;
    origin.z = low.z - n;
    float maxX = 0.0f, maxY = 0.0f, maxZ = 0.0f;
    for (const Vector3& corner : corners) {
        const Vector3 q = corner - origin;
        const float z = NonZero(q.z);
        maxX = std::fmax(maxX, std::fabs(q.x / z));
        maxY = std::fmax(maxY, std::fabs(q.y / z));
        maxZ = std::fmax(maxZ, q.z);
    }
    Matrix4 p;
    p.m[0][0] = 1.0f / NonZero(maxX);
    p.m[1][1] = 1.0f / NonZero(maxY);
    const float qs = maxZ / NonZero(maxZ - n);
    p.m[2][2] = qs;
    p.m[2][3] = 1.0f;
    p.m[3][2] = -qs * n;
    // Exchanges the light direction and the warp axis and shifts them.
    const Matrix4 r{1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, -0.5f, 1.5f, 1};
    Matrix4 s;
    s.m[1][1] = 2.0f;
    s.m[2][2] = 0.5f;
    s.m[3][2] = -0.25f;
    return {viewer.view, basis * Matrix4::Translation(-origin) * p * r * s};
}

LightCameraMatrices FitLightToSphere(const Vector3& lightDirection, const Vector3& center, float radius) {
    const Vector3 z = Normalize(lightDirection);
    Vector3 x = Normalize(Cross({0.0f, 1.0f, 0.0f}, z));
    // A light straight up or down: any horizontal axis will do.
    if (SquaredLength(x) == 0.0f) x = Normalize(Cross({0.0f, 0.0f, 1.0f}, z));
    const Vector3 y = Normalize(Cross(z, x));
    const Vector3 eye = center - z * radius;
    LightCameraMatrices result;
    result.view = Matrix4::FromMatrix3(Matrix3::FromColumns(x, y, z), {-Dot(eye, x), -Dot(eye, y), -Dot(eye, z)});
    const Vector3 c = result.view.TransformPoint(center);
    const float left = c.x - radius, right = c.x + radius, bottom = c.y - radius, top = c.y + radius;
    const float nearPlane = 0.1f, farPlane = 2.0f * radius;
    Matrix4& p = result.projection;
    p.m[0][0] = 2.0f / NonZero(right - left);
    p.m[1][1] = 2.0f / NonZero(top - bottom);
    p.m[2][2] = 1.0f / NonZero(farPlane - nearPlane);
    p.m[3][0] = (left + right) / NonZero(left - right);
    p.m[3][1] = (bottom + top) / NonZero(bottom - top);
    p.m[3][2] = nearPlane / NonZero(nearPlane - farPlane);
    return result;
}

Matrix4 ShadowBiasMatrix(int32_t mapWidth, int32_t mapHeight) {
    const float w = mapWidth > 0 ? static_cast<float>(mapWidth) : 1.0f;
    const float h = mapHeight > 0 ? static_cast<float>(mapHeight) : 1.0f;
    return {0.5f, 0, 0, 0, 0, -0.5f, 0, 0, 0, 0, 1, 0, 0.5f + 0.5f / w, 0.5f + 0.5f / h, 0, 1};
}

}  // namespace zel
