// The content tool's random numbers: a fixed-seed generator of its own, so
// every build places the same trees and stars.
#pragma once

#include <cstdint>

namespace zel {

class ShowRandom {
public:
    explicit ShowRandom(uint32_t seed) : state_(seed * 2654435761u + 1u) {}

    // xorshift32: enough spread for scattering scenery.
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Uniform in [low, high).
    float Range(float low, float high) { return low + (high - low) * static_cast<float>(Next() >> 8) / 16777216.0f; }

private:
    uint32_t state_;
};

}  // namespace zel
