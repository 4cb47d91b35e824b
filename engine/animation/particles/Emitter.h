// Base of the particle emitters: an object that chooses where a new particle
// starts and which way it moves.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/math/Vector3.h"

namespace zel {

// The particle code's random numbers: the C library's rand() (seeded once
// by EngineInitialize), every draw reduced to 0..32767, the range of the
// Windows run-time that the emission formulas assume (a draw / 32767 is a
// fraction, a draw mod n an index), so every build behaves alike.
inline constexpr int32_t kParticleRandomMax = 32767;

// One draw in 0..kParticleRandomMax.
inline int32_t ParticleRandomValue() { return static_cast<int32_t>(std::rand() & kParticleRandomMax); }

// One draw as a fraction in [0, 1], both ends included.
inline float ParticleRandomUnit() {
    return static_cast<float>(ParticleRandomValue()) / static_cast<float>(kParticleRandomMax);
}

// base ± spread from one draw r: base + (−spread + r × 2·spread), within
// [base − spread, base + spread].
inline float ParticleRandomSpread(float base, float spread) {
    return base + (-spread + ParticleRandomUnit() * 2.0f * spread);
}

class Emitter : public Object {
    ZEL_DECLARE_RTTI

public:
    // Fills a new particle's start position (world space) and its unit
    // direction. Draws from the engine's random numbers in a fixed order,
    // so a seeded run repeats.
    virtual void Emit(Vector3& position, Vector3& direction) = 0;
};
ZEL_REGISTER_ABSTRACT_CLASS(Emitter)

}  // namespace zel
