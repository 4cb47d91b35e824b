#pragma once

namespace zel {

// Colours as 32-bit float channels, nominally 0..1 but never clamped here.
// ColorRGB streams as r, g, b (12 bytes); ColorRGBA as r, g, b, a (16 bytes).

struct ColorRGB {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;

    bool operator==(const ColorRGB&) const = default;
};

// Defaults to opaque black, the engine's colour default (lights, materials).
struct ColorRGBA {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;

    bool operator==(const ColorRGBA&) const = default;
};

constexpr ColorRGB operator+(const ColorRGB& x, const ColorRGB& y) { return {x.r + y.r, x.g + y.g, x.b + y.b}; }
constexpr ColorRGB operator-(const ColorRGB& x, const ColorRGB& y) { return {x.r - y.r, x.g - y.g, x.b - y.b}; }
constexpr ColorRGB operator*(const ColorRGB& c, float s) { return {c.r * s, c.g * s, c.b * s}; }
// Channel-wise product (modulation).
constexpr ColorRGB operator*(const ColorRGB& x, const ColorRGB& y) { return {x.r * y.r, x.g * y.g, x.b * y.b}; }

constexpr ColorRGBA operator+(const ColorRGBA& x, const ColorRGBA& y) {
    return {x.r + y.r, x.g + y.g, x.b + y.b, x.a + y.a};
}
constexpr ColorRGBA operator-(const ColorRGBA& x, const ColorRGBA& y) {
    return {x.r - y.r, x.g - y.g, x.b - y.b, x.a - y.a};
}
constexpr ColorRGBA operator*(const ColorRGBA& c, float s) { return {c.r * s, c.g * s, c.b * s, c.a * s}; }
constexpr ColorRGBA operator*(const ColorRGBA& x, const ColorRGBA& y) {
    return {x.r * y.r, x.g * y.g, x.b * y.b, x.a * y.a};
}

// start + (end − start) × f per channel, alpha included.
constexpr ColorRGBA Lerp(const ColorRGBA& start, const ColorRGBA& end, float f) {
    return start + (end - start) * f;
}

static_assert(sizeof(ColorRGB) == 12);
static_assert(sizeof(ColorRGBA) == 16);

}  // namespace zel
