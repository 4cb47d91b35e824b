#pragma once

#include "engine/math/Matrix3.h"
#include "engine/math/Vector3.h"

namespace zel {

// Rotation quaternion, streamed as x, y, z, w (16 bytes); identity (0, 0, 0, 1).
//
// Conventions: the product is the Hamilton product, and the rotation matrix
// is chosen so that ToMatrix(a * b) == a.ToMatrix() * b.ToMatrix(). With row
// vectors this makes a * b "rotate by a, then by b", the same order as the
// matrix product. The columns of ToMatrix() are the images of the x, y and z
// axes (a camera's right, up and viewing direction).
struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    bool operator==(const Quaternion&) const = default;

    static constexpr Quaternion Identity() { return {}; }
    // The rotation that turns row-vector points by `angle` radians about the
    // unit vector `axis`, in the sense of the Direct3D rotation matrices:
    // about z by π/2, (1, 0, 0) goes to (0, 1, 0).
    static Quaternion FromAxisAngle(const Vector3& axis, float angle);
    // The quaternion of a rotation matrix (inverse of ToMatrix). Matrices that
    // are not rotations give some finite quaternion, never NaN.
    static Quaternion FromMatrix(const Matrix3& rotation);
    // The rotation whose forward (z) axis is `direction`, with the right axis
    // taken against the up hint (0, 1, 0). A direction straight up or down
    // gives a zero right axis; the result stays finite.
    static Quaternion LookAlong(const Vector3& direction);

    // Inline, as the product below: the scene update converts one rotation
    // and composes one pair per node.
    constexpr Matrix3 ToMatrix() const;
    Quaternion Conjugate() const { return {-x, -y, -z, w}; }
    // Unit quaternion; the zero quaternion when the squared length is below
    // kMathEpsilon (the vector rule).
    Quaternion Normalized() const;

    // Spherical interpolation from a (t = 0) to b (t = 1) the short way round.
    // Inputs within kMathEpsilon of each other (up to sign) return a
    // unchanged; the result is not renormalised.
    static Quaternion Slerp(float t, const Quaternion& a, const Quaternion& b);
};

// Hamilton product.
constexpr Quaternion operator*(const Quaternion& a, const Quaternion& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
            a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}
constexpr Quaternion operator*(const Quaternion& q, float s) { return {q.x * s, q.y * s, q.z * s, q.w * s}; }
constexpr Quaternion operator+(const Quaternion& a, const Quaternion& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}
constexpr Quaternion operator-(const Quaternion& a, const Quaternion& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w};
}
constexpr Quaternion operator-(const Quaternion& q) { return {-q.x, -q.y, -q.z, -q.w}; }
// Four-component dot product.
constexpr float Dot(const Quaternion& a, const Quaternion& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

constexpr Matrix3 Quaternion::ToMatrix() const {
    const float xx = x * x, yy = y * y, zz = z * z;
    const float xy = x * y, xz = x * z, yz = y * z;
    const float wx = w * x, wy = w * y, wz = w * z;
    return {1 - 2 * (yy + zz), 2 * (xy - wz),     2 * (xz + wy),
            2 * (xy + wz),     1 - 2 * (xx + zz), 2 * (yz - wx),
            2 * (xz - wy),     2 * (yz + wx),     1 - 2 * (xx + yy)};
}

static_assert(sizeof(Quaternion) == 16);

}  // namespace zel
