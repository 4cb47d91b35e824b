#include "engine/math/Quaternion.h"

#include <cmath>

namespace zel {

Quaternion Quaternion::FromAxisAngle(const Vector3& axis, float angle) {
    // ToMatrix turns row vectors the opposite way to the textbook
    // column-vector rotation of q, hence the negated vector part.
    const float s = std::sin(angle * 0.5f);
    return {-axis.x * s, -axis.y * s, -axis.z * s, std::cos(angle * 0.5f)};
}

namespace {

// One branch of the matrix-to-quaternion conversion: component i is the
// largest of x, y, z; j and k follow it cyclically.
Quaternion FromDominantAxis(const Matrix3& r, int i) {
    const int j = (i + 1) % 3;
    const int k = (i + 2) % 3;
    const auto& m = r.m;
    const float root = std::sqrt(std::fmax(0.0f, 1.0f + m[i][i] - m[j][j] - m[k][k]));
    if (root < kMathEpsilon) return Quaternion::Identity();
    const float f = 0.5f / root;
    float v[3];
    v[i] = 0.5f * root;
    v[j] = (m[j][i] + m[i][j]) * f;
    v[k] = (m[k][i] + m[i][k]) * f;
    return {v[0], v[1], v[2], (m[k][j] - m[j][k]) * f};
}

}  // namespace

Quaternion Quaternion::FromMatrix(const Matrix3& r) {
    const auto& m = r.m;
    const float trace = m[0][0] + m[1][1] + m[2][2];
    if (trace > 0.0f) {
        // w is the largest component: the well-conditioned branch.
        const float root = std::sqrt(trace + 1.0f);
        const float f = 0.5f / root;
        return {(m[2][1] - m[1][2]) * f, (m[0][2] - m[2][0]) * f, (m[1][0] - m[0][1]) * f, 0.5f * root};
    }
    int i = 0;
    if (m[1][1] > m[0][0]) i = 1;
    if (m[2][2] > m[i][i]) i = 2;
    return FromDominantAxis(r, i);
}

Quaternion Quaternion::Normalized() const {
    const float sq = Dot(*this, *this);
    if (sq < kMathEpsilon) return {0, 0, 0, 0};
    return *this * (1.0f / std::sqrt(sq));
}

Quaternion Quaternion::Slerp(float t, const Quaternion& a, const Quaternion& b) {
    const float d = Dot(a, b);
    // a and −b are the same rotation; with a negative dot product −b is the
    // nearer of the two, so b enters with the opposite sign.
    const float c = d < 0.0f ? -d : d;
    if (!(1.0f - c > kMathEpsilon)) return a;
    const float theta = std::acos(c);
    const float sinTheta = std::sin(theta);
    const Quaternion pa = a * std::sin((1.0f - t) * theta);
    const Quaternion pb = b * std::sin(t * theta);
    const Quaternion sum = d < 0.0f ? pa - pb : pa + pb;
    return {sum.x / sinTheta, sum.y / sinTheta, sum.z / sinTheta, sum.w / sinTheta};
}

Quaternion Quaternion::LookAlong(const Vector3& direction) {
    const Vector3 forward = Normalize(direction);
    const Vector3 right = Normalize(Cross(Vector3{0.0f, 1.0f, 0.0f}, forward));
    const Vector3 up = Normalize(Cross(forward, right));
    return FromMatrix(Matrix3::FromColumns(right, up, forward));
}

}  // namespace zel
