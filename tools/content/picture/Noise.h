// Seeded pseudo-random numbers and lattice noise for the pictures drawn in
// code. Everything is a pure function of its seed, so the content is the same
// on every run; the noise repeats over whole periods so textures can tile.
#pragma once

#include <cstdint>

namespace zel {

// Mixes the bits of a 32-bit value; a well spread integer hash.
uint32_t HashBits(uint32_t x);
// A hash of a lattice cell and a seed.
uint32_t HashCell(int x, int y, uint32_t seed);
// The cell's hash as a number in [0, 1).
float HashUnit(int x, int y, uint32_t seed);

// A 64-bit sequence (the split-mix step); the same seed gives the same
// numbers everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // [0, 1)
    float Unit();
    // [low, high)
    float Range(float low, float high);
    // 0 .. count − 1; count > 0.
    int Below(int count);

private:
    uint64_t state_;
};

// Gradient noise whose picture-wide coordinates (u, v) span one tile over
// 0..1: the lattice has `periodX` × `periodY` cells across a tile and wraps,
// so At(u + 1, v) == At(u, v + 1) == At(u, v). Octaves add layers of twice
// the frequency (and period) and `gain` times the amplitude. The result lies
// in −1..1, most of it well inside.
struct TiledNoise {
    int periodX = 4;
    int periodY = 4;
    int octaves = 1;
    float gain = 0.5f;
    uint32_t seed = 0;

    float At(float u, float v) const;
};

// The two nearest feature points of a jittered grid (cellular noise), in
// cell units, and the nearest one's cell hash; the grid wraps like
// TiledNoise's lattice.
struct CellSample {
    float nearest;
    float second;
    uint32_t id;
};

struct TiledCells {
    int periodX = 4;
    int periodY = 4;
    uint32_t seed = 0;

    CellSample At(float u, float v) const;
};

}  // namespace zel
