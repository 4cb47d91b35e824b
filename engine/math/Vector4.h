#pragma once

#include <cmath>

#include "engine/math/MathConstants.h"
#include "engine/math/Vector3.h"

namespace zel {

// Four 32-bit floats, streamed as x, y, z, w (16 bytes). Homogeneous points,
// shader constants and four-component texture coordinates.
struct Vector4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    bool operator==(const Vector4&) const = default;

    static constexpr Vector4 FromVector3(const Vector3& v, float w) { return {v.x, v.y, v.z, w}; }
    constexpr Vector3 Xyz() const { return {x, y, z}; }

    constexpr Vector4& operator+=(const Vector4& v) {
        x += v.x; y += v.y; z += v.z; w += v.w;
        return *this;
    }
    constexpr Vector4& operator-=(const Vector4& v) {
        x -= v.x; y -= v.y; z -= v.z; w -= v.w;
        return *this;
    }
    constexpr Vector4& operator*=(float s) { x *= s; y *= s; z *= s; w *= s; return *this; }
};

constexpr Vector4 operator+(Vector4 a, const Vector4& b) { return a += b; }
constexpr Vector4 operator-(Vector4 a, const Vector4& b) { return a -= b; }
constexpr Vector4 operator-(const Vector4& v) { return {-v.x, -v.y, -v.z, -v.w}; }
constexpr Vector4 operator*(Vector4 v, float s) { return v *= s; }
constexpr Vector4 operator*(float s, Vector4 v) { return v *= s; }
// Component-wise product.
constexpr Vector4 operator*(const Vector4& a, const Vector4& b) {
    return {a.x * b.x, a.y * b.y, a.z * b.z, a.w * b.w};
}

constexpr float Dot(const Vector4& a, const Vector4& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}
constexpr float SquaredLength(const Vector4& v) { return Dot(v, v); }
inline float Length(const Vector4& v) { return std::sqrt(SquaredLength(v)); }

// Unit vector along all four components; zero when too short (as Vector3).
inline Vector4 Normalize(const Vector4& v) {
    const float sq = SquaredLength(v);
    if (sq < kMathEpsilon) return {};
    return v * (1.0f / std::sqrt(sq));
}

static_assert(sizeof(Vector4) == 16);

}  // namespace zel
