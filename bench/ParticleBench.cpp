// Particle update speed: aging and moving every living particle of a system
// (the node particle system, which writes no vertex data), in particles per
// second for 10,000 and 100,000 particles. "Steady" keeps every particle
// alive; "Recycling" gives them short lives so that records go through the
// free list and bursts refill the pool every update.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "engine/animation/particles/NodeParticleSystem.h"
#include "engine/animation/particles/SphereVolumeEmitter.h"

namespace zel {
namespace {

constexpr double kFrame = 1.0 / 60.0;

Pointer<NodeParticleSystem> MakeSystem(int32_t count, float lifetime) {
    Pointer<NodeParticleSystem> system = new NodeParticleSystem();
    system->SetMaxParticles(count);
    system->SetEmitter(new SphereVolumeEmitter());
    system->particlesPerBurst = count;
    system->emissionPeriod = 0.0f;  // a burst every update keeps the pool full
    system->lifetime = lifetime;
    system->lifetimeSpread = lifetime * 0.5f;
    system->speedSpread = 0.5f;
    system->acceleration = {0.0f, -9.8f, 0.0f};
    system->accelerationSpread = {0.5f, 0.5f, 0.5f};
    system->endSize = 3.0f;
    system->endColor = {1.0f, 0.5f, 0.0f, 0.0f};
    return system;
}

void BM_ParticleUpdateSteady(benchmark::State& state) {
    const int32_t count = static_cast<int32_t>(state.range(0));
    std::srand(1);
    Pointer<NodeParticleSystem> system = MakeSystem(count, 1e9f);
    system->Update(kFrame, false);
    system->SetStopped(true);
    for (auto _ : state) system->Update(kFrame, false);
    if (system->GetActiveCount() != count) state.SkipWithError("the pool did not fill");
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_ParticleUpdateRecycling(benchmark::State& state) {
    const int32_t count = static_cast<int32_t>(state.range(0));
    std::srand(1);
    Pointer<NodeParticleSystem> system = MakeSystem(count, 0.25f);
    for (int frame = 0; frame < 60; ++frame) system->Update(kFrame, false);
    for (auto _ : state) system->Update(kFrame, false);
    state.SetItemsProcessed(state.iterations() * count);
}

BENCHMARK(BM_ParticleUpdateSteady)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticleUpdateRecycling)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zel
