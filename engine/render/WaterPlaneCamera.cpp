#include "engine/render/WaterPlaneCamera.h"

#include <cmath>

#include "engine/math/Matrix3.h"

namespace zel {

Matrix4 MirrorAboutHeight(float height) { return {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 2.0f * height, 0, 1}; }

Matrix4 MirroredView(const Vector3& position, const Vector3& direction, float height) {
    const Vector3 eye{position.x, 2.0f * height - position.y, position.z};
    const Vector3 look = Normalize(Vector3{direction.x, -direction.y, direction.z});
    Vector3 right = Normalize(Cross({0.0f, 1.0f, 0.0f}, look));
    // Looking straight up or down: any horizontal right axis will do.
    if (SquaredLength(right) == 0.0f) right = {1.0f, 0.0f, 0.0f};
    const Vector3 up = Cross(look, right);
    return Matrix4::FromMatrix3(Matrix3::FromColumns(right, up, look),
                                {-Dot(eye, right), -Dot(eye, up), -Dot(eye, look)});
}

Matrix4 ObliqueProjection(const Matrix4& projection, const Matrix4& viewProjection, const Vector4& worldPlane) {
    Vector4 plane = worldPlane * viewProjection.Inverse().Transposed();
    if (plane.w == 0.0f) return projection;
    const float length = std::sqrt(plane.x * plane.x + plane.y * plane.y + plane.z * plane.z);
    if (length > 0.0f) plane = plane * (1.0f / length);
    if (plane.w > 0.0f) {
        plane = -plane;
        plane.w += 1.0f;
    }
    Matrix4 clip;
    clip.m[0][2] = plane.x;
    clip.m[1][2] = plane.y;
    clip.m[2][2] = plane.z;
    clip.m[3][2] = plane.w;
    return projection * clip;
}

}  // namespace zel
