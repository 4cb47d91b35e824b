// Helpers shared by the emitter and particle system tests: counting the
// random draws an operation takes, replaying a seed's draws, and a
// particle system set up so that every value is predictable.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/animation/particles/NodeParticleSystem.h"
#include "engine/animation/particles/PointEmitter.h"
#include "engine/core/Stream.h"

namespace zel::test {

// How many rand() values `operation` consumes: the draw that follows it is
// found again in a fresh run of the same seed.
inline int32_t DrawsUsedBy(const std::function<void()>& operation) {
    std::srand(99);
    operation();
    const int next = std::rand();
    std::srand(99);
    for (int32_t used = 0; used < 256; ++used)
        if (std::rand() == next) return used;
    return -1;
}

// A seed's draws, reduced as the particle code reduces them.
struct Draws {
    explicit Draws(unsigned seed) { std::srand(seed); }
    float Unit() { return static_cast<float>(std::rand() & 0x7FFF) / 32767.0f; }
    int32_t Value() { return std::rand() & 0x7FFF; }
};

// A system without spreads whose particles start at rest at its origin:
// `maximum` particles, bursts of `perBurst` every second, 1 s lifetime.
inline Pointer<NodeParticleSystem> MakeQuietSystem(int32_t maximum, int32_t perBurst = 10) {
    Pointer<NodeParticleSystem> system = new NodeParticleSystem(String("particles"));
    system->SetMaxParticles(maximum);
    system->particlesPerBurst = perBurst;
    system->speed = 0.0f;
    system->lifetime = 1.0f;
    if (PointEmitter* emitter = CastTo<PointEmitter>(system->GetEmitter())) emitter->SetMaximumAngle(0.0f);
    return system;
}

inline std::vector<const ParticleSystem::Particle*> Particles(const ParticleSystem& system) {
    std::vector<const ParticleSystem::Particle*> particles;
    for (const ParticleSystem::Particle* p = system.GetFirstParticle(); p != nullptr; p = p->next)
        particles.push_back(p);
    return particles;
}

// True when the saved bytes name the type record `typeName`.
inline bool StreamNamesType(const Stream& stream, const char* typeName) {
    const std::string bytes(reinterpret_cast<const char*>(stream.GetBuffer()),
                            static_cast<size_t>(stream.GetPosition()));
    return bytes.find(typeName) != std::string::npos;
}

}  // namespace zel::test
