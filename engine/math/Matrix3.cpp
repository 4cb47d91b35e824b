#include "engine/math/Matrix3.h"

#include <cmath>

namespace zel {

Matrix3 Matrix3::FromRows(const Vector3& r0, const Vector3& r1, const Vector3& r2) {
    return {r0.x, r0.y, r0.z, r1.x, r1.y, r1.z, r2.x, r2.y, r2.z};
}

Matrix3 Matrix3::FromColumns(const Vector3& c0, const Vector3& c1, const Vector3& c2) {
    return {c0.x, c1.x, c2.x, c0.y, c1.y, c2.y, c0.z, c1.z, c2.z};
}

Matrix3 Matrix3::Transposed() const {
    return {m[0][0], m[1][0], m[2][0], m[0][1], m[1][1], m[2][1], m[0][2], m[1][2], m[2][2]};
}

float Matrix3::Determinant() const {
    return Dot(Row(0), Cross(Row(1), Row(2)));
}

Matrix3 Matrix3::Inverse() const {
    // The rows of the inverse's transpose are the cross products of pairs of
    // rows (the adjugate), divided by the determinant.
    const Vector3 c0 = Cross(Row(1), Row(2));
    const Vector3 c1 = Cross(Row(2), Row(0));
    const Vector3 c2 = Cross(Row(0), Row(1));
    const float det = Dot(Row(0), c0);
    if (std::fabs(det) <= kMathEpsilon) return Zero();
    const float inv = 1.0f / det;
    return FromColumns(c0 * inv, c1 * inv, c2 * inv);
}

Matrix3 operator*(const Matrix3& a, const Matrix3& b) {
    Matrix3 r = Matrix3::Zero();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    return r;
}

}  // namespace zel
