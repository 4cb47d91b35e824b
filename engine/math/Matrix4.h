#pragma once

#include "engine/math/Matrix3.h"
#include "engine/math/Vector3.h"
#include "engine/math/Vector4.h"

namespace zel {

// 4×4 matrix of floats in the layout Direct3D 9 takes directly: row-major,
// row vectors multiplied from the left (v · M), translation in row 3. A
// product A · B therefore applies A first, then B.
struct Matrix4 {
    float m[4][4];

    // Identity.
    constexpr Matrix4() : m{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}} {}
    constexpr Matrix4(float m00, float m01, float m02, float m03,
                      float m10, float m11, float m12, float m13,
                      float m20, float m21, float m22, float m23,
                      float m30, float m31, float m32, float m33)
        : m{{m00, m01, m02, m03}, {m10, m11, m12, m13}, {m20, m21, m22, m23}, {m30, m31, m32, m33}} {}

    bool operator==(const Matrix4&) const = default;

    static constexpr Matrix4 Identity() { return {}; }
    static constexpr Matrix4 Zero() { return {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; }
    static Matrix4 Translation(const Vector3& t);
    static Matrix4 Scaling(const Vector3& s);
    // Rows 0–2 from `linear` (fourth column 0), row 3 = (translation, 1).
    static Matrix4 FromMatrix3(const Matrix3& linear, const Vector3& translation = {});

    Vector4 Row(int i) const { return {m[i][0], m[i][1], m[i][2], m[i][3]}; }
    Vector4 Column(int j) const { return {m[0][j], m[1][j], m[2][j], m[3][j]}; }
    // The upper-left 3×3 block (rotation and scale of an affine matrix).
    Matrix3 Linear() const;

    Matrix4 Transposed() const;
    float Determinant() const;
    // The inverse; the zero matrix when |determinant| <= kMathEpsilon.
    Matrix4 Inverse() const;

    // (p, 1) · M without the division by w: exact for affine matrices.
    Vector3 TransformPoint(const Vector3& p) const;
    // (p, 1) · M divided by the resulting w (projective mapping). A resulting
    // w of 0 is not guarded and gives infinite or NaN components.
    Vector3 TransformCoord(const Vector3& p) const;
    // (d, 0) · M: rows 0–2 only, the translation does not act.
    Vector3 TransformDirection(const Vector3& d) const;
};

Matrix4 operator*(const Matrix4& a, const Matrix4& b);
// Row vector times matrix.
Vector4 operator*(const Vector4& v, const Matrix4& m);

static_assert(sizeof(Matrix4) == 64);

}  // namespace zel
