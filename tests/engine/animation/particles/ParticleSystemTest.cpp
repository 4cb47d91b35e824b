// The particle pool, aging, emission and streaming shared by every particle
// system, exercised through a node particle system without a template.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <limits>
#include <set>
#include <vector>

#include "ParticleTestSupport.h"
#include "engine/animation/particles/SphereVolumeEmitter.h"
#include "engine/core/Log.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "support/AnimationTestSupport.h"
#include "support/MathExpect.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::MakeQuietSystem;
using test::Near;
using test::Particles;

// --- Emission -------------------------------------------------------------

TEST(ParticleSystem, MaximumZeroNeverEmits) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(0);
    for (int i = 0; i < 5; ++i) system->Update(1.5, false);
    EXPECT_EQ(system->GetActiveCount(), 0);
    EXPECT_EQ(system->GetFirstParticle(), nullptr);
}

TEST(ParticleSystem, FirstUpdateWithAPositiveStepEmitsAtOnce) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(100);
    system->Update(0.0, false);
    EXPECT_EQ(system->GetActiveCount(), 0);
    system->Update(0.001, false);
    EXPECT_EQ(system->GetActiveCount(), 10);
    EXPECT_FLOAT_EQ(system->GetNextEmissionInterval(), 1.0f);
}

TEST(ParticleSystem, EachBurstAddsPerBurstUntilTheMaximum) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(25);
    system->lifetime = 100.0f;
    const int32_t expected[] = {10, 20, 25, 25};
    for (int32_t count : expected) {
        system->Update(1.0, false);
        EXPECT_EQ(system->GetActiveCount(), count);
    }
}

TEST(ParticleSystem, BurstTimerComparesStrictly) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(100);
    system->lifetime = 100.0f;
    system->Update(0.5, false);  // at once; the next burst is 1 s away
    system->Update(0.5, false);  // timer exactly 1: not yet
    EXPECT_EQ(system->GetActiveCount(), 10);
    system->Update(0.25, false);
    EXPECT_EQ(system->GetActiveCount(), 20);
    EXPECT_FLOAT_EQ(system->GetEmissionTimer(), 0.25f);
}

TEST(ParticleSystem, BurstSpreadCoversPerBurstMinusToPlusSpreadLessOne) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(ParticleSystem::kParticleLimit);
    system->lifetime = 1e9f;
    system->burstSpread = 3;
    std::srand(17);
    std::set<int32_t> sizes;
    int32_t before = 0;
    for (int i = 0; i < 300; ++i) {
        system->Update(1.0, false);  // one burst per update
        sizes.insert(system->GetActiveCount() - before);
        before = system->GetActiveCount();
    }
    EXPECT_EQ(*sizes.begin(), 7);
    EXPECT_EQ(*sizes.rbegin(), 12);
}

TEST(ParticleSystem, StoppedSystemEmitsNothingButLetsParticlesFinish) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(100);
    system->Update(0.5, false);
    system->SetStopped(true);
    system->Update(0.75, false);  // would have burst
    EXPECT_EQ(system->GetActiveCount(), 10);
    system->Update(0.5, false);  // age 1.25 > 1
    EXPECT_EQ(system->GetActiveCount(), 0);
    system->SetStopped(false);
    system->Update(0.5, false);  // the timer stood still while stopped: 1.0
    EXPECT_EQ(system->GetActiveCount(), 0);
    system->Update(0.25, false);
    EXPECT_EQ(system->GetActiveCount(), 10);
}

TEST(ParticleSystem, WithoutEmitterNothingIsEmitted) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(100);
    system->SetEmitter(nullptr);
    system->Update(2.0, false);
    EXPECT_EQ(system->GetActiveCount(), 0);
}

TEST(ParticleSystem, NonPositivePeriodGivesOneBurstPerUpdate) {
    for (float period : {0.0f, -1.0f}) {
        Pointer<NodeParticleSystem> system = MakeQuietSystem(1000, 1);
        system->lifetime = 100.0f;
        system->emissionPeriod = period;
        for (int i = 0; i < 3; ++i) system->Update(0.1, false);
        EXPECT_EQ(system->GetActiveCount(), 3) << "period " << period;
    }
}

TEST(ParticleSystem, TinyPeriodIsBoundedPerUpdate) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(ParticleSystem::kParticleLimit, 1);
    system->lifetime = 100.0f;
    system->emissionPeriod = 1e-30f;
    system->Update(1e6, false);
    EXPECT_EQ(system->GetActiveCount(), ParticleSystem::kMaxBurstsPerUpdate);
    EXPECT_EQ(system->GetEmissionTimer(), 0.0f);  // the backlog is dropped
}

TEST(ParticleSystem, ParticlesStartAtTheSystemsWorldPosition) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(100);
    system->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {5, 0, -2}));
    system->speed = 2.0f;
    system->Update(0.01, false);
    for (const ParticleSystem::Particle* p : Particles(*system)) {
        EXPECT_TRUE(Near(p->position, {5, 0, -2}));
        EXPECT_TRUE(Near(p->velocity, {0, 2, 0}));  // straight up at the base speed
    }
}

// The per-particle draws come in the described order: the emitter's, speed,
// acceleration y, x, z, the start colour's four, the end colour's four,
// start size, end size, lifetime.
TEST(ParticleSystem, StartValuesFollowTheDrawOrder) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(1, 1);
    system->speedSpread = 1.0f;
    system->accelerationSpread = {1, 1, 1};
    system->startColorSpread = {1, 1, 1, 1};
    system->endColorSpread = {1, 1, 1, 1};
    system->startSizeSpread = 1.0f;
    system->endSizeSpread = 1.0f;
    system->lifetimeSpread = 1.0f;
    system->emissionPeriodSpread = 0.5f;
    test::Draws draws(31);
    auto spread = [&](float base, float s) { return base + (-s + draws.Unit() * 2.0f * s); };
    const float interval = spread(1.0f, 0.5f);
    draws.Value();
    draws.Value();  // the point emitter's direction
    const float speed = spread(0.0f, 1.0f);
    const float ay = spread(0, 1), ax = spread(0, 1), az = spread(0, 1);
    const float sr = spread(1, 1), sg = spread(1, 1), sb = spread(1, 1), sa = spread(1, 1);
    const float er = spread(1, 1), eg = spread(1, 1), eb = spread(1, 1), ea = spread(0, 1);
    const float startSize = spread(1, 1), endSize = spread(1, 1), life = spread(1, 1);
    std::srand(31);
    system->Update(0.001, false);
    const ParticleSystem::Particle& p = *system->GetFirstParticle();
    EXPECT_FLOAT_EQ(system->GetNextEmissionInterval(), interval);
    EXPECT_NEAR(p.velocity.y, speed, 1e-6f);
    EXPECT_EQ(p.acceleration, (Vector3{ax, ay, az}));
    EXPECT_EQ(p.startColor, (ColorRGBA{sr, sg, sb, sa}));
    EXPECT_EQ(p.endColor, (ColorRGBA{er, eg, eb, ea}));
    EXPECT_EQ(p.startSize, startSize);
    EXPECT_EQ(p.endSize, endSize);
    EXPECT_EQ(p.lifetime, life);
}

// --- Aging ----------------------------------------------------------------

TEST(ParticleSystem, AccelerationActsBeforeThePositionMoves) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(1, 1);
    system->acceleration = {0, -10, 0};
    system->lifetime = 10.0f;
    system->Update(0.001, false);
    const ParticleSystem::Particle& p = *system->GetFirstParticle();
    EXPECT_EQ(p.position, Vector3{});  // born this update: not moved yet
    system->Update(0.1, false);
    EXPECT_TRUE(Near(p.velocity, {0, -1, 0}));
    EXPECT_TRUE(Near(p.position, {0, -0.1f, 0}));
    system->Update(0.1, false);
    EXPECT_TRUE(Near(p.position, {0, -0.3f, 0}));
}

TEST(ParticleSystem, SizeAndColourFollowTheAge) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(1, 1);
    system->lifetime = 2.0f;
    system->startSize = 2.0f;
    system->endSize = 4.0f;
    system->startColor = {1, 0, 0, 1};
    system->endColor = {0, 0, 1, 0};
    system->SetStopped(false);
    system->Update(0.5, false);
    system->SetStopped(true);
    const ParticleSystem::Particle& p = *system->GetFirstParticle();
    system->Update(1.0, false);  // half way
    EXPECT_FLOAT_EQ(p.size, 3.0f);
    EXPECT_EQ(p.color, (ColorRGBA{0.5f, 0, 0.5f, 0.5f}));
}

TEST(ParticleSystem, AParticleWhoseAgeEqualsItsLifetimeIsStillAlive) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(100);
    system->startSize = 1.0f;
    system->endSize = 5.0f;
    system->Update(0.5, false);
    system->SetStopped(true);
    system->Update(0.5, false);
    system->Update(0.5, false);  // age exactly 1 = lifetime
    ASSERT_EQ(system->GetActiveCount(), 10);
    for (const ParticleSystem::Particle* p : Particles(*system)) {
        EXPECT_EQ(p->age, p->lifetime);
        EXPECT_EQ(p->size, 5.0f);
        EXPECT_EQ(p->color, system->endColor);
    }
    system->Update(0.5, false);
    EXPECT_EQ(system->GetActiveCount(), 0);
    EXPECT_EQ(system->GetFreeCount(), 10);
}

TEST(ParticleSystem, DeadRecordsAreReusedBeforeNewOnes) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(100);
    system->Update(0.5, false);
    std::set<const ParticleSystem::Particle*> first;
    for (const ParticleSystem::Particle* p : Particles(*system)) first.insert(p);
    system->Update(1.25, false);  // the ten die, ten are born from their records
    ASSERT_EQ(system->GetActiveCount(), 10);
    EXPECT_EQ(system->GetFreeCount(), 0);
    for (const ParticleSystem::Particle* p : Particles(*system)) EXPECT_EQ(first.count(p), 1u);
}

TEST(ParticleSystem, ZeroLifetimeParticlesDieOnTheirFirstStep) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(100);
    system->lifetime = 0.0f;
    system->startSize = 2.0f;
    system->endSize = 3.0f;
    system->Update(0.5, false);
    system->SetStopped(true);
    system->Update(0.0, false);  // age 0 = lifetime: alive, at its end
    ASSERT_EQ(system->GetActiveCount(), 10);
    EXPECT_EQ(system->GetFirstParticle()->size, 3.0f);
    system->Update(0.01, false);
    EXPECT_EQ(system->GetActiveCount(), 0);
}

TEST(ParticleSystem, NewMaximumDropsEveryParticle) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(100);
    system->Update(0.5, false);
    system->Update(1.0, false);
    system->SetMaxParticles(50);
    EXPECT_EQ(system->GetActiveCount(), 0);
    EXPECT_EQ(system->GetFreeCount(), 0);
    system->SetMaxParticles(-4);
    EXPECT_EQ(system->GetMaxParticles(), 0);
    system->SetMaxParticles(INT_MAX);
    EXPECT_EQ(system->GetMaxParticles(), ParticleSystem::kParticleLimit);
}

// --- Bound and emitter ----------------------------------------------------

TEST(ParticleSystem, WorldBoundEnclosesTheParticles) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(50, 50);
    Pointer<SphereVolumeEmitter> emitter = new SphereVolumeEmitter();
    emitter->SetRadius(3.0f);
    system->SetEmitter(emitter);
    system->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {0, 0, 20}));
    system->startSize = 0.5f;
    system->endSize = 0.5f;
    std::srand(2);
    system->Update(0.01, false);
    auto* bound = static_cast<SphereBoundingVolume*>(system->GetWorldBound());
    for (const ParticleSystem::Particle* p : Particles(*system))
        EXPECT_LE(Length(p->position - bound->GetCenter()) + 0.25f, bound->GetRadius() + 1e-4f);
    EXPECT_LE(bound->GetRadius(), 2.0f * (3.0f + 0.25f) + 1e-4f);
}

TEST(ParticleSystem, PointEmitterOwnerFollowsTheSystem) {
    Pointer<PointEmitter> emitter = new PointEmitter();
    {
        Pointer<NodeParticleSystem> first = MakeQuietSystem(10);
        first->SetEmitter(emitter);
        EXPECT_EQ(emitter->GetOwner(), first.Get());
        Pointer<PointEmitter> other = new PointEmitter();
        first->SetEmitter(other);
        EXPECT_EQ(emitter->GetOwner(), nullptr);
        first->SetEmitter(emitter);
    }
    // The system is gone: the emitter must not point at it.
    EXPECT_EQ(emitter->GetOwner(), nullptr);
}

TEST(ParticleSystem, FindByNameReachesTheEmitter) {
    Pointer<NodeParticleSystem> system = MakeQuietSystem(10);
    system->GetEmitter()->SetName(String("spout"));
    EXPECT_EQ(system->FindByName(String("spout")), system->GetEmitter());
    ObjectArray emitters;
    system->CollectByType(Emitter::TYPE, emitters);
    ASSERT_EQ(emitters.Count(), 1);
    EXPECT_EQ(emitters[0], system->GetEmitter());
}

// --- Streaming ------------------------------------------------------------

void SetEveryField(ParticleSystem& system) {
    system.SetMaxParticles(77);
    system.emissionPeriod = 0.25f;
    system.emissionPeriodSpread = 0.125f;
    system.particlesPerBurst = 6;
    system.burstSpread = 2;
    system.startColor = {0.1f, 0.2f, 0.3f, 0.4f};
    system.startColorSpread = {0.01f, 0.02f, 0.03f, 0.04f};
    system.endColor = {0.5f, 0.6f, 0.7f, 0.8f};
    system.endColorSpread = {0.05f, 0.06f, 0.07f, 0.08f};
    system.speed = -2.5f;
    system.speedSpread = 0.5f;
    system.acceleration = {1, -9.75f, 2};
    system.accelerationSpread = {0.25f, 0.5f, 0.75f};
    system.lifetime = 3.5f;
    system.lifetimeSpread = 0.5f;
    system.startSize = 1.25f;
    system.startSizeSpread = 0.25f;
    system.endSize = 4.5f;
    system.endSizeSpread = 1.5f;
}

void ExpectSameFields(const ParticleSystem& a, const ParticleSystem& b) {
    EXPECT_EQ(a.GetMaxParticles(), b.GetMaxParticles());
    EXPECT_EQ(a.emissionPeriod, b.emissionPeriod);
    EXPECT_EQ(a.emissionPeriodSpread, b.emissionPeriodSpread);
    EXPECT_EQ(a.particlesPerBurst, b.particlesPerBurst);
    EXPECT_EQ(a.burstSpread, b.burstSpread);
    EXPECT_EQ(a.startColor, b.startColor);
    EXPECT_EQ(a.startColorSpread, b.startColorSpread);
    EXPECT_EQ(a.endColor, b.endColor);
    EXPECT_EQ(a.endColorSpread, b.endColorSpread);
    EXPECT_EQ(a.speed, b.speed);
    EXPECT_EQ(a.speedSpread, b.speedSpread);
    EXPECT_EQ(a.acceleration, b.acceleration);
    EXPECT_EQ(a.accelerationSpread, b.accelerationSpread);
    EXPECT_EQ(a.lifetime, b.lifetime);
    EXPECT_EQ(a.lifetimeSpread, b.lifetimeSpread);
    EXPECT_EQ(a.startSize, b.startSize);
    EXPECT_EQ(a.startSizeSpread, b.startSizeSpread);
    EXPECT_EQ(a.endSize, b.endSize);
    EXPECT_EQ(a.endSizeSpread, b.endSizeSpread);
}

TEST(ParticleSystem, RoundTripKeepsTheParametersAndStartsEmpty) {
    Pointer<NodeParticleSystem> system = new NodeParticleSystem(String("sparks"));
    SetEveryField(*system);
    Pointer<SphereVolumeEmitter> emitter = new SphereVolumeEmitter();
    emitter->SetRadius(2.5f);
    system->SetEmitter(emitter);
    system->Update(0.1, false);
    ASSERT_GT(system->GetActiveCount(), 0);

    Pointer<NodeParticleSystem> loaded = test::RoundTrip(system.Get());
    ASSERT_NE(loaded, nullptr);
    ExpectSameFields(*system, *loaded);
    EXPECT_EQ(loaded->GetActiveCount(), 0);
    EXPECT_EQ(loaded->GetEmissionTimer(), 0.0f);
    EXPECT_EQ(loaded->GetNextEmissionInterval(), 0.0f);
    auto* loadedEmitter = CastTo<SphereVolumeEmitter>(loaded->GetEmitter());
    ASSERT_NE(loadedEmitter, nullptr);
    EXPECT_EQ(loadedEmitter->GetRadius(), 2.5f);
    EXPECT_EQ(loadedEmitter->GetOwner(), loaded.Get());
    EXPECT_EQ(emitter->GetOwner(), system.Get());
}

// Both copies, run from the same seed, make the same particles.
TEST(ParticleSystem, LoadedCopyBehavesLikeTheOriginal) {
    Pointer<NodeParticleSystem> system = new NodeParticleSystem(String("twin"));
    SetEveryField(*system);
    system->SetEmitter(new SphereVolumeEmitter());
    Pointer<NodeParticleSystem> loaded = test::RoundTrip(system.Get());
    ASSERT_NE(loaded, nullptr);
    auto run = [](NodeParticleSystem& s) {
        std::srand(42);
        std::vector<Vector3> trace;
        for (int frame = 0; frame < 60; ++frame) {
            s.Update(1.0 / 30.0, false);
            for (const ParticleSystem::Particle* p : Particles(s)) trace.push_back(p->position);
        }
        return trace;
    };
    const std::vector<Vector3> original = run(*system);
    EXPECT_GT(original.size(), 100u);
    EXPECT_EQ(run(*loaded), original);
}

struct ClampCase {
    const char* field;
    void (*set)(ParticleSystem&);
    bool (*clamped)(const ParticleSystem&);
};

class ParticleSystemLoadClamps : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ParticleSystemLoadClamps, NegativeValuesLoadAsZero) {
    Pointer<NodeParticleSystem> system = new NodeParticleSystem();
    GetParam().set(*system);
    Pointer<NodeParticleSystem> loaded = test::RoundTrip(system.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(GetParam().clamped(*loaded)) << GetParam().field;
}

constexpr float kParticleNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Fields, ParticleSystemLoadClamps,
    ::testing::Values(
        ClampCase{"period", [](ParticleSystem& s) { s.emissionPeriod = -1; },
                  [](const ParticleSystem& s) { return s.emissionPeriod == 0; }},
        ClampCase{"period spread", [](ParticleSystem& s) { s.emissionPeriodSpread = -1; },
                  [](const ParticleSystem& s) { return s.emissionPeriodSpread == 0; }},
        ClampCase{"per burst", [](ParticleSystem& s) { s.particlesPerBurst = INT_MIN; },
                  [](const ParticleSystem& s) { return s.particlesPerBurst == 0; }},
        ClampCase{"burst spread", [](ParticleSystem& s) { s.burstSpread = -3; },
                  [](const ParticleSystem& s) { return s.burstSpread == 0; }},
        ClampCase{"speed spread", [](ParticleSystem& s) { s.speedSpread = -1; },
                  [](const ParticleSystem& s) { return s.speedSpread == 0; }},
        ClampCase{"lifetime", [](ParticleSystem& s) { s.lifetime = kParticleNaN; },
                  [](const ParticleSystem& s) { return s.lifetime == 0; }},
        ClampCase{"lifetime spread", [](ParticleSystem& s) { s.lifetimeSpread = -1; },
                  [](const ParticleSystem& s) { return s.lifetimeSpread == 0; }},
        ClampCase{"start size", [](ParticleSystem& s) { s.startSize = -1; },
                  [](const ParticleSystem& s) { return s.startSize == 0; }},
        ClampCase{"start size spread", [](ParticleSystem& s) { s.startSizeSpread = -1; },
                  [](const ParticleSystem& s) { return s.startSizeSpread == 0; }},
        ClampCase{"end size", [](ParticleSystem& s) { s.endSize = -1; },
                  [](const ParticleSystem& s) { return s.endSize == 0; }},
        ClampCase{"end size spread", [](ParticleSystem& s) { s.endSizeSpread = -1; },
                  [](const ParticleSystem& s) { return s.endSizeSpread == 0; }},
        // Not clamped: a negative speed emits backwards.
        ClampCase{"speed", [](ParticleSystem& s) { s.speed = -4; },
                  [](const ParticleSystem& s) { return s.speed == -4; }},
        ClampCase{"acceleration", [](ParticleSystem& s) { s.acceleration = {-1, -2, -3}; },
                  [](const ParticleSystem& s) { return s.acceleration == Vector3{-1, -2, -3}; }}));

// The maximum is written by hand here: the setter would clamp it already.
TEST(ParticleSystem, LoadClampsTheMaximum) {
    for (int32_t written : {-5, INT_MAX}) {
        Pointer<NodeParticleSystem> system = new NodeParticleSystem();
        Stream stream(0, 256);
        ASSERT_EQ(stream.WriteLink(system), 0);
        // The maximum follows the geometry node's data; find it by saving a
        // copy with a recognisable maximum.
        Pointer<NodeParticleSystem> marked = new NodeParticleSystem();
        marked->SetMaxParticles(0x1234);
        Stream probe(0, 256);
        ASSERT_EQ(probe.WriteLink(marked), 0);
        int32_t offset = -1;
        for (int32_t i = 0; i + 4 <= probe.GetPosition(); ++i)
            if (probe.GetBuffer()[i] == 0x34 && probe.GetBuffer()[i + 1] == 0x12 && probe.GetBuffer()[i + 2] == 0 &&
                probe.GetBuffer()[i + 3] == 0)
                offset = i;
        ASSERT_GT(offset, 0);
        std::vector<uint8_t> bytes(probe.GetBuffer(), probe.GetBuffer() + probe.GetPosition());
        for (int k = 0; k < 4; ++k) bytes[offset + k] = static_cast<uint8_t>(static_cast<uint32_t>(written) >> (8 * k));
        Stream forged(0, 256);
        forged.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
        forged.Rewind();
        Pointer<NodeParticleSystem> loaded;
        ASSERT_EQ(forged.ReadLinkAs(loaded), 0);
        EXPECT_EQ(loaded->GetMaxParticles(), written < 0 ? 0 : ParticleSystem::kParticleLimit);
    }
}

TEST(ParticleSystem, TruncatedStreamsFailWithoutCrashing) {
    Pointer<NodeParticleSystem> system = new NodeParticleSystem(String("sparks"));
    SetEveryField(*system);
    test::ExpectEveryTruncationFails(system);
}

TEST(ParticleSystem, FailuresNameTheSystem) {
    Pointer<NodeParticleSystem> system = new NodeParticleSystem(String("sparks"));
    system->SetEmitter(nullptr);  // so that the last two links are four bytes each
    Stream stream(0, 256);
    ASSERT_EQ(system->Save(stream), 0);
    const int32_t full = stream.GetPosition();
    struct Cut {
        int32_t bytes;
        const char* message;
    };
    // The fields, the emitter link, the template link.
    const Cut cuts[] = {{full - 5, "Невозможно загрузить эмиттер системы частиц. Имя[sparks] ID["},
                        {full - 9, "Невозможно загрузить данные системы частиц. Имя[sparks] ID["},
                        {full - 1, "Невозможно загрузить данные системы частиц. Имя[sparks] ID["}};
    for (const Cut& cut : cuts) {
        Stream truncated(cut.bytes, 1);
        truncated.Write(stream.GetBuffer(), cut.bytes);
        truncated.Rewind();
        test::LogCapture capture;
        Pointer<NodeParticleSystem> loaded = new NodeParticleSystem();
        EXPECT_EQ(loaded->Load(truncated), kFailed);
        EXPECT_TRUE(capture->Contains(kLogError, cut.message)) << cut.message;
    }
}

}  // namespace
}  // namespace zel
