#pragma once

#include <cmath>

#include "engine/math/MathConstants.h"

namespace zel {

// Two 32-bit floats, streamed as x, y (8 bytes). Texture coordinates mostly.
struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;

    bool operator==(const Vector2&) const = default;

    constexpr Vector2& operator+=(const Vector2& v) { x += v.x; y += v.y; return *this; }
    constexpr Vector2& operator-=(const Vector2& v) { x -= v.x; y -= v.y; return *this; }
    constexpr Vector2& operator*=(float s) { x *= s; y *= s; return *this; }
};

constexpr Vector2 operator+(Vector2 a, const Vector2& b) { return a += b; }
constexpr Vector2 operator-(Vector2 a, const Vector2& b) { return a -= b; }
constexpr Vector2 operator-(const Vector2& v) { return {-v.x, -v.y}; }
constexpr Vector2 operator*(Vector2 v, float s) { return v *= s; }
constexpr Vector2 operator*(float s, Vector2 v) { return v *= s; }
// Component-wise product.
constexpr Vector2 operator*(const Vector2& a, const Vector2& b) { return {a.x * b.x, a.y * b.y}; }

constexpr float Dot(const Vector2& a, const Vector2& b) { return a.x * b.x + a.y * b.y; }
constexpr float SquaredLength(const Vector2& v) { return Dot(v, v); }
inline float Length(const Vector2& v) { return std::sqrt(SquaredLength(v)); }

// Unit vector along v; the zero vector when v is too short to have a direction.
inline Vector2 Normalize(const Vector2& v) {
    const float sq = SquaredLength(v);
    if (sq < kMathEpsilon) return {};
    return v * (1.0f / std::sqrt(sq));
}

static_assert(sizeof(Vector2) == 8);

}  // namespace zel
