// A geometry node owning a pool of short-lived particles: every update ages
// and moves the living ones and, at random intervals, an emitter starts a
// burst of new ones. Each start value is a base plus a symmetric random
// spread. Derived classes draw the particles.
#pragma once

#include "engine/animation/particles/Emitter.h"
#include "engine/core/Pointer.h"
#include "engine/math/Color.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

class ParticleSystem : public GeometryNode {
    ZEL_DECLARE_RTTI

public:
    // A loaded maximum above this is lowered to it, so that a file cannot
    // make the drawing buffers (six vertices per particle) unboundedly
    // large.
    static constexpr int32_t kParticleLimit = 1 << 18;
    // An update runs at most this many bursts; the emission time left over
    // is dropped. Keeps a tiny emission period from stalling a frame.
    static constexpr int32_t kMaxBurstsPerUpdate = 1000;

    // One particle, in the pool's active list or its free list.
    struct Particle {
        Vector3 position;
        Vector3 velocity;
        Vector3 acceleration;
        ColorRGBA color;
        ColorRGBA startColor;
        ColorRGBA endColor;
        float size = 0.0f;
        float startSize = 0.0f;
        float endSize = 0.0f;
        float lifetime = 0.0f;
        float age = 0.0f;
        Particle* next = nullptr;
    };

    // With a new point emitter (none when it cannot be allocated: the
    // system then emits nothing).
    explicit ParticleSystem(const String& name = String());
    // Deletes every particle record and leaves the emitter without owner.
    ~ParticleSystem() override;

    // The geometry node's data with the system's buffers left out (they are
    // rebuilt on load), then the maximum, the emission period and spread,
    // particles per burst and spread, start and end colours with spreads,
    // speed and spread, acceleration and spread, lifetime and spread, start
    // and end sizes with spreads, and the emitter link. Loading clamps the
    // counts, the spreads, the period, lifetime and sizes to at least 0 (and
    // the maximum to kParticleLimit), drops every particle, rebuilds the
    // buffers right after the maximum is read and restarts the emission
    // timer.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Geometry node search, then the emitter.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The node's links, then the emitter.
    void VisitLinks(LinkVisitor& visitor) override;

    // The geometry node update, then every living particle ages by dt (one
    // whose age exceeds its lifetime goes to the free list), gets velocity
    // += acceleration·dt, then position += velocity·dt, and takes its size
    // and colour between start and end by age / lifetime. Unless stopped,
    // the emission timer then runs bursts: the first update with a positive
    // dt emits at once.
    void UpdateSelf(double time) override;
    // The world bound encloses the living particles (positions are in world
    // space) with half the largest size around each; without particles it
    // is the geometry node's. Nothing when the bound is not updated.
    void UpdateBound() override;

    // Rebuilds the drawing buffers for the maximum; nothing here.
    virtual void RebuildBuffers();
    // Deletes every record of both lists and the reserve; the active count
    // becomes 0.
    virtual void ReleaseParticles();

    // Clamped to 0..kParticleLimit; drops every particle and rebuilds the
    // buffers. Records for the maximum are reserved in one block at once, so
    // that emitting never allocates; dead records are still reused first.
    void SetMaxParticles(int32_t count);
    int32_t GetMaxParticles() const { return maxParticles_; }

    // Holds the emitter; a point emitter (or derived) gets this system as
    // owner. Null: nothing is emitted.
    void SetEmitter(Emitter* emitter);
    Emitter* GetEmitter() const { return emitter_; }

    // A stopped system emits nothing; living particles finish their lives.
    bool IsStopped() const { return stopped_ != 0; }
    void SetStopped(bool stopped) { stopped_ = stopped ? 1 : 0; }

    // The living particles, newest first, linked by next.
    const Particle* GetFirstParticle() const { return active_; }
    int32_t GetActiveCount() const { return activeCount_; }
    // Records waiting for reuse.
    int32_t GetFreeCount() const;
    float GetEmissionTimer() const { return emissionTimer_; }
    float GetNextEmissionInterval() const { return nextInterval_; }

    // Emission parameters, each a base and a symmetric spread. Plain values:
    // only loading clamps them.
    float emissionPeriod = 1.0f;
    float emissionPeriodSpread = 0.0f;
    int32_t particlesPerBurst = 10;
    int32_t burstSpread = 0;
    ColorRGBA startColor{1.0f, 1.0f, 1.0f, 1.0f};
    ColorRGBA startColorSpread{0.0f, 0.0f, 0.0f, 0.0f};
    ColorRGBA endColor{1.0f, 1.0f, 1.0f, 0.0f};
    ColorRGBA endColorSpread{0.0f, 0.0f, 0.0f, 0.0f};
    float speed = 1.0f;
    float speedSpread = 0.0f;
    Vector3 acceleration;
    Vector3 accelerationSpread;
    float lifetime = 5.0f;
    float lifetimeSpread = 0.0f;
    float startSize = 1.0f;
    float startSizeSpread = 0.0f;
    float endSize = 1.0f;
    float endSizeSpread = 0.0f;

private:
    void AgeParticles(float dt);
    void Emit(float dt);
    // Adds the burst's particles up to the maximum; a record that cannot be
    // allocated ends the burst.
    void RunBurst();
    Particle* TakeRecord();
    void StartParticle(Particle& particle);
    int32_t SaveFields(Stream& stream);
    int32_t LoadFields(Stream& stream);

    int32_t maxParticles_ = 0;
    Particle* active_ = nullptr;  // owned list, newest first
    Particle* free_ = nullptr;    // owned list of records for reuse
    Particle* reserve_ = nullptr;  // owned block of records never used yet
    int32_t reserveCount_ = 0;
    int32_t reserveUsed_ = 0;
    int32_t activeCount_ = 0;
    float emissionTimer_ = 0.0f;
    float nextInterval_ = 0.0f;
    Pointer<Emitter> emitter_;
    uint8_t stopped_ = 0;
};
ZEL_REGISTER_ABSTRACT_CLASS(ParticleSystem)

}  // namespace zel
