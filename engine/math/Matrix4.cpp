#include "engine/math/Matrix4.h"

#include <cmath>

namespace zel {

Matrix4 Matrix4::Translation(const Vector3& t) {
    Matrix4 r;
    r.m[3][0] = t.x;
    r.m[3][1] = t.y;
    r.m[3][2] = t.z;
    return r;
}

Matrix4 Matrix4::Scaling(const Vector3& s) {
    Matrix4 r;
    r.m[0][0] = s.x;
    r.m[1][1] = s.y;
    r.m[2][2] = s.z;
    return r;
}

Matrix4 Matrix4::FromMatrix3(const Matrix3& linear, const Vector3& translation) {
    const auto& a = linear.m;
    return {a[0][0], a[0][1], a[0][2], 0,
            a[1][0], a[1][1], a[1][2], 0,
            a[2][0], a[2][1], a[2][2], 0,
            translation.x, translation.y, translation.z, 1};
}

Matrix3 Matrix4::Linear() const {
    return {m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2], m[2][0], m[2][1], m[2][2]};
}

Matrix4 Matrix4::Transposed() const {
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = m[j][i];
    return r;
}

namespace {

// The 2×2 minors of the top two rows (s) and of the bottom two rows (c),
// from which every 3×3 cofactor of the matrix is built (Laplace expansion
// along row pairs).
struct Minors {
    float s[6];
    float c[6];
};

Minors ComputeMinors(const float (&a)[4][4]) {
    Minors r;
    r.s[0] = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    r.s[1] = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    r.s[2] = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    r.s[3] = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    r.s[4] = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    r.s[5] = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    r.c[5] = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    r.c[4] = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    r.c[3] = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    r.c[2] = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    r.c[1] = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    r.c[0] = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    return r;
}

float DeterminantOf(const Minors& k) {
    return k.s[0] * k.c[5] - k.s[1] * k.c[4] + k.s[2] * k.c[3] + k.s[3] * k.c[2] - k.s[4] * k.c[1] +
           k.s[5] * k.c[0];
}

}  // namespace

float Matrix4::Determinant() const {
    return DeterminantOf(ComputeMinors(m));
}

Matrix4 Matrix4::Inverse() const {
    const Minors k = ComputeMinors(m);
    const float det = DeterminantOf(k);
    if (std::fabs(det) <= kMathEpsilon) return Zero();
    const float inv = 1.0f / det;
    const auto& a = m;
    const auto& s = k.s;
    const auto& c = k.c;
    Matrix4 r;
    r.m[0][0] = (a[1][1] * c[5] - a[1][2] * c[4] + a[1][3] * c[3]) * inv;
    r.m[0][1] = (-a[0][1] * c[5] + a[0][2] * c[4] - a[0][3] * c[3]) * inv;
    r.m[0][2] = (a[3][1] * s[5] - a[3][2] * s[4] + a[3][3] * s[3]) * inv;
    r.m[0][3] = (-a[2][1] * s[5] + a[2][2] * s[4] - a[2][3] * s[3]) * inv;
    r.m[1][0] = (-a[1][0] * c[5] + a[1][2] * c[2] - a[1][3] * c[1]) * inv;
    r.m[1][1] = (a[0][0] * c[5] - a[0][2] * c[2] + a[0][3] * c[1]) * inv;
    r.m[1][2] = (-a[3][0] * s[5] + a[3][2] * s[2] - a[3][3] * s[1]) * inv;
    r.m[1][3] = (a[2][0] * s[5] - a[2][2] * s[2] + a[2][3] * s[1]) * inv;
    r.m[2][0] = (a[1][0] * c[4] - a[1][1] * c[2] + a[1][3] * c[0]) * inv;
    r.m[2][1] = (-a[0][0] * c[4] + a[0][1] * c[2] - a[0][3] * c[0]) * inv;
    r.m[2][2] = (a[3][0] * s[4] - a[3][1] * s[2] + a[3][3] * s[0]) * inv;
    r.m[2][3] = (-a[2][0] * s[4] + a[2][1] * s[2] - a[2][3] * s[0]) * inv;
    r.m[3][0] = (-a[1][0] * c[3] + a[1][1] * c[1] - a[1][2] * c[0]) * inv;
    r.m[3][1] = (a[0][0] * c[3] - a[0][1] * c[1] + a[0][2] * c[0]) * inv;
    r.m[3][2] = (-a[3][0] * s[3] + a[3][1] * s[1] - a[3][2] * s[0]) * inv;
    r.m[3][3] = (a[2][0] * s[3] - a[2][1] * s[1] + a[2][2] * s[0]) * inv;
    return r;
}

Vector3 Matrix4::TransformPoint(const Vector3& p) const {
    return (Vector4::FromVector3(p, 1.0f) * *this).Xyz();
}

Vector3 Matrix4::TransformCoord(const Vector3& p) const {
    const Vector4 h = Vector4::FromVector3(p, 1.0f) * *this;
    return h.Xyz() * (1.0f / h.w);
}

Vector3 Matrix4::TransformDirection(const Vector3& d) const {
    return (Vector4::FromVector3(d, 0.0f) * *this).Xyz();
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
    return r;
}

Vector4 operator*(const Vector4& v, const Matrix4& m) {
    Vector4 r;
    r.x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + v.w * m.m[3][0];
    r.y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + v.w * m.m[3][1];
    r.z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + v.w * m.m[3][2];
    r.w = v.x * m.m[0][3] + v.y * m.m[1][3] + v.z * m.m[2][3] + v.w * m.m[3][3];
    return r;
}

}  // namespace zel

