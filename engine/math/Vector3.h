#pragma once

#include <cmath>

#include "engine/math/MathConstants.h"

namespace zel {

// Three 32-bit floats, streamed as x, y, z (12 bytes). Points, directions,
// scales and normals alike; vectors are rows (v · M).
struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    bool operator==(const Vector3&) const = default;

    constexpr Vector3& operator+=(const Vector3& v) { x += v.x; y += v.y; z += v.z; return *this; }
    constexpr Vector3& operator-=(const Vector3& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    constexpr Vector3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
};

constexpr Vector3 operator+(Vector3 a, const Vector3& b) { return a += b; }
constexpr Vector3 operator-(Vector3 a, const Vector3& b) { return a -= b; }
constexpr Vector3 operator-(const Vector3& v) { return {-v.x, -v.y, -v.z}; }
constexpr Vector3 operator*(Vector3 v, float s) { return v *= s; }
constexpr Vector3 operator*(float s, Vector3 v) { return v *= s; }
// Component-wise product (the ⊙ of per-axis scaling).
constexpr Vector3 operator*(const Vector3& a, const Vector3& b) {
    return {a.x * b.x, a.y * b.y, a.z * b.z};
}

constexpr float Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
constexpr float SquaredLength(const Vector3& v) { return Dot(v, v); }
inline float Length(const Vector3& v) { return std::sqrt(SquaredLength(v)); }

// Unit vector along v. A vector whose squared length is below kMathEpsilon
// has no usable direction and gives the zero vector, never NaN.
inline Vector3 Normalize(const Vector3& v) {
    const float sq = SquaredLength(v);
    if (sq < kMathEpsilon) return {};
    return v * (1.0f / std::sqrt(sq));
}

// a + (b − a) × t, the blend keyframes and particles use.
constexpr Vector3 Lerp(const Vector3& a, const Vector3& b, float t) { return a + (b - a) * t; }

static_assert(sizeof(Vector3) == 12);

}  // namespace zel
