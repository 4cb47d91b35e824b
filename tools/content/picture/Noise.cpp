#include "tools/content/picture/Noise.h"

#include <cmath>

namespace zel {

namespace {

int WrapLattice(int value, int period) {
    const int r = value % period;
    return r < 0 ? r + period : r;
}

float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

// Sixteen evenly spread unit gradients: a table instead of a sine per
// lattice corner.
struct GradientTable {
    float x[16], y[16];
    GradientTable() {
        for (int i = 0; i < 16; ++i) {
            const double angle = (i + 0.5) * 6.283185307179586 / 16.0;
            x[i] = static_cast<float>(std::cos(angle));
            y[i] = static_cast<float>(std::sin(angle));
        }
    }
};

const GradientTable kGradients;

// One octave in lattice units; about −0.7..0.7 before scaling.
float LatticeGradient(float x, float y, int periodX, int periodY, uint32_t seed) {
    const float fx0 = std::floor(x);
    const float fy0 = std::floor(y);
    const int ix = static_cast<int>(fx0);
    const int iy = static_cast<int>(fy0);
    const float dx = x - fx0;
    const float dy = y - fy0;
    auto corner = [&](int cx, int cy, float ox, float oy) {
        const uint32_t h = HashCell(WrapLattice(ix + cx, periodX), WrapLattice(iy + cy, periodY), seed) & 15u;
        return kGradients.x[h] * ox + kGradients.y[h] * oy;
    };
    const float a = corner(0, 0, dx, dy);
    const float b = corner(1, 0, dx - 1.0f, dy);
    const float c = corner(0, 1, dx, dy - 1.0f);
    const float d = corner(1, 1, dx - 1.0f, dy - 1.0f);
    const float sx = Fade(dx);
    const float sy = Fade(dy);
    const float top = a + (b - a) * sx;
    const float bottom = c + (d - c) * sx;
    return top + (bottom - top) * sy;
}

}  // namespace

uint32_t HashBits(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

uint32_t HashCell(int x, int y, uint32_t seed) {
    return HashBits(static_cast<uint32_t>(x) * 0x9E3779B1U ^ HashBits(static_cast<uint32_t>(y) + seed * 0x85EBCA77U));
}

float HashUnit(int x, int y, uint32_t seed) {
    return static_cast<float>(HashCell(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

uint64_t Random::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

float Random::Unit() { return static_cast<float>(Next() >> 40) * (1.0f / 16777216.0f); }

float Random::Range(float low, float high) { return low + (high - low) * Unit(); }

int Random::Below(int count) { return static_cast<int>(Next() % static_cast<uint64_t>(count)); }

float TiledNoise::At(float u, float v) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float total = 0.0f;
    int px = periodX;
    int py = periodY;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * LatticeGradient(u * static_cast<float>(px), v * static_cast<float>(py), px, py,
                                    seed + static_cast<uint32_t>(octave) * 1013U);
        total += amplitude;
        amplitude *= gain;
        px *= 2;
        py *= 2;
    }
    return sum / total * 1.4f;
}

CellSample TiledCells::At(float u, float v) const {
    const float x = u * static_cast<float>(periodX);
    const float y = v * static_cast<float>(periodY);
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    CellSample sample{1e9f, 1e9f, 0};
    for (int cy = iy - 1; cy <= iy + 1; ++cy) {
        for (int cx = ix - 1; cx <= ix + 1; ++cx) {
            const int wx = WrapLattice(cx, periodX);
            const int wy = WrapLattice(cy, periodY);
            const float fx = static_cast<float>(cx) + HashUnit(wx, wy, seed);
            const float fy = static_cast<float>(cy) + HashUnit(wx, wy, seed + 7919U);
            const float distance = std::hypot(fx - x, fy - y);
            if (distance < sample.nearest) {
                sample.second = sample.nearest;
                sample.nearest = distance;
                sample.id = HashCell(wx, wy, seed + 104729U);
            } else if (distance < sample.second) {
                sample.second = distance;
            }
        }
    }
    return sample;
}

}  // namespace zel
