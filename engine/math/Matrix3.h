#pragma once

#include "engine/math/Vector3.h"

namespace zel {

// 3×3 matrix of floats, row-major, applied to row vectors from the right
// (v · M). Rotation matrices of quaternions and camera bases live here.
struct Matrix3 {
    float m[3][3];

    // Identity.
    constexpr Matrix3() : m{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}} {}
    constexpr Matrix3(float m00, float m01, float m02,
                      float m10, float m11, float m12,
                      float m20, float m21, float m22)
        : m{{m00, m01, m02}, {m10, m11, m12}, {m20, m21, m22}} {}

    bool operator==(const Matrix3&) const = default;

    static constexpr Matrix3 Identity() { return {}; }
    static constexpr Matrix3 Zero() { return {0, 0, 0, 0, 0, 0, 0, 0, 0}; }
    static Matrix3 FromRows(const Vector3& r0, const Vector3& r1, const Vector3& r2);
    static Matrix3 FromColumns(const Vector3& c0, const Vector3& c1, const Vector3& c2);

    Vector3 Row(int i) const { return {m[i][0], m[i][1], m[i][2]}; }
    Vector3 Column(int j) const { return {m[0][j], m[1][j], m[2][j]}; }

    Matrix3 Transposed() const;
    float Determinant() const;
    // The inverse; the zero matrix when |determinant| <= kMathEpsilon.
    Matrix3 Inverse() const;
};

Matrix3 operator*(const Matrix3& a, const Matrix3& b);
// Row vector times matrix. Inline: the scene update applies one per node.
constexpr Vector3 operator*(const Vector3& v, const Matrix3& m) {
    return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
            v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
            v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]};
}

static_assert(sizeof(Matrix3) == 36);

}  // namespace zel
