#include "engine/animation/particles/ParticleSystem.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <new>

#include "engine/animation/particles/PointEmitter.h"
#include "engine/core/Stream.h"
#include "engine/scene/SphereBoundingVolume.h"

namespace zel {

ZEL_DEFINE_RTTI(ParticleSystem, GeometryNode)

namespace {

// The node's buffers, held aside while the geometry node's part is saved:
// they are rebuilt from the maximum on load, so they are not written.
class HeldBuffers {
public:
    explicit HeldBuffers(GeometryNode& node) : node_(node) {
        vertices_ = node.GetVertices();
        pointSizes_ = node.GetPointSizes();
        colors_ = node.GetColors();
        normals_ = node.GetNormals();
        tangents_ = node.GetTangents();
        for (int32_t unit = 0; unit < GeometryNode::kTexCoordUnits; ++unit) texCoords_[unit] = node.GetTexCoords(unit);
        indices_ = node.GetIndices();
        node.SetVertices(nullptr);
        node.SetPointSizes(nullptr);
        node.SetColors(nullptr);
        node.SetNormals(nullptr);
        for (int32_t unit = 0; unit < GeometryNode::kTexCoordUnits; ++unit) node.SetTexCoords(unit, nullptr);
        node.SetIndices(nullptr);
    }

    // Vertices first: setting them drops the tangents.
    ~HeldBuffers() {
        node_.SetVertices(vertices_);
        node_.SetTangents(tangents_);
        node_.SetPointSizes(pointSizes_);
        node_.SetColors(colors_);
        node_.SetNormals(normals_);
        for (int32_t unit = 0; unit < GeometryNode::kTexCoordUnits; ++unit) node_.SetTexCoords(unit, texCoords_[unit]);
        node_.SetIndices(indices_);
    }

    HeldBuffers(const HeldBuffers&) = delete;
    HeldBuffers& operator=(const HeldBuffers&) = delete;

private:
    GeometryNode& node_;
    Pointer<Buffer> vertices_;
    Pointer<FloatBuffer> pointSizes_;
    Pointer<ColorBuffer> colors_;
    Pointer<Vector3Buffer> normals_;
    Pointer<Vector3Buffer> tangents_;
    Pointer<Buffer> texCoords_[GeometryNode::kTexCoordUnits];
    Pointer<IntBuffer> indices_;
};

ColorRGBA SpreadColor(const ColorRGBA& base, const ColorRGBA& spread) {
    ColorRGBA color;
    color.r = ParticleRandomSpread(base.r, spread.r);
    color.g = ParticleRandomSpread(base.g, spread.g);
    color.b = ParticleRandomSpread(base.b, spread.b);
    color.a = ParticleRandomSpread(base.a, spread.a);
    return color;
}

// Written so that NaN becomes 0 as well.
float NonNegative(float value) { return value >= 0.0f ? value : 0.0f; }
int32_t NonNegative(int32_t value) { return value >= 0 ? value : 0; }

// Deletes the records of a list that were allocated one by one; those of
// the reserve block [first, last) go with the block.
void DeleteList(ParticleSystem::Particle* particle, const ParticleSystem::Particle* first,
                const ParticleSystem::Particle* last) {
    while (particle != nullptr) {
        ParticleSystem::Particle* next = particle->next;
        const std::less<const ParticleSystem::Particle*> before;
        if (before(particle, first) || !before(particle, last)) delete particle;
        particle = next;
    }
}

}  // namespace

ParticleSystem::ParticleSystem(const String& name) : GeometryNode(name) {
    SetEmitter(new (std::nothrow) PointEmitter());
}

ParticleSystem::~ParticleSystem() {
    ReleaseParticles();
    SetEmitter(nullptr);
}

void ParticleSystem::SetEmitter(Emitter* emitter) {
    PointEmitter* old = CastTo<PointEmitter>(emitter_.Get());
    if (old != nullptr && old != emitter && old->GetOwner() == this) old->SetOwner(nullptr);
    emitter_ = emitter;
    if (PointEmitter* point = CastTo<PointEmitter>(emitter)) point->SetOwner(this);
}

void ParticleSystem::SetMaxParticles(int32_t count) {
    maxParticles_ = std::min(NonNegative(count), kParticleLimit);
    ReleaseParticles();
    if (maxParticles_ > 0) reserve_ = new (std::nothrow) Particle[maxParticles_];
    reserveCount_ = reserve_ != nullptr ? maxParticles_ : 0;
    RebuildBuffers();
}

void ParticleSystem::RebuildBuffers() {}

void ParticleSystem::ReleaseParticles() {
    DeleteList(active_, reserve_, reserve_ + reserveCount_);
    DeleteList(free_, reserve_, reserve_ + reserveCount_);
    delete[] reserve_;
    active_ = nullptr;
    free_ = nullptr;
    reserve_ = nullptr;
    reserveCount_ = 0;
    reserveUsed_ = 0;
    activeCount_ = 0;
}

int32_t ParticleSystem::GetFreeCount() const {
    int32_t count = 0;
    for (const Particle* particle = free_; particle != nullptr; particle = particle->next) ++count;
    return count;
}

void ParticleSystem::UpdateSelf(double time) {
    GeometryNode::UpdateSelf(time);
    const float dt = static_cast<float>(time);
    AgeParticles(dt);
    if (stopped_ == 0) Emit(dt);
}

void ParticleSystem::AgeParticles(float dt) {
    Particle** link = &active_;
    while (Particle* particle = *link) {
        particle->age += dt;
        if (particle->age > particle->lifetime) {
            *link = particle->next;
            particle->next = free_;
            free_ = particle;
            --activeCount_;
            continue;
        }
        // A zero lifetime is only reached with a zero step: the particle is
        // at its end.
        const float f = particle->lifetime > 0.0f ? particle->age / particle->lifetime : 1.0f;
        particle->velocity += particle->acceleration * dt;
        particle->position += particle->velocity * dt;
        particle->size = particle->startSize + f * (particle->endSize - particle->startSize);
        particle->color = Lerp(particle->startColor, particle->endColor, f);
        link = &particle->next;
    }
}

void ParticleSystem::Emit(float dt) {
    if (emitter_ == nullptr) return;
    emissionTimer_ += dt;
    int32_t bursts = 0;
    while (emissionTimer_ > nextInterval_) {
        emissionTimer_ -= nextInterval_;
        nextInterval_ = ParticleRandomSpread(emissionPeriod, emissionPeriodSpread);
        RunBurst();
        // An interval that cannot move the timer forward would burst for
        // ever: such a period gives one burst per update.
        if (!(nextInterval_ > 0.0f) || ++bursts >= kMaxBurstsPerUpdate) {
            emissionTimer_ = 0.0f;
            break;
        }
    }
}

void ParticleSystem::RunBurst() {
    // 64-bit: counts from a file may be near the int32 limit.
    const int64_t spread = burstSpread;
    const int64_t extra = spread >= 1 ? ParticleRandomValue() % (2 * spread) : 0;
    const int64_t target = static_cast<int64_t>(activeCount_) + particlesPerBurst + extra - spread;
    while (activeCount_ < maxParticles_ && activeCount_ < target) {
        Particle* particle = TakeRecord();
        if (particle == nullptr) return;
        particle->next = active_;
        active_ = particle;
        ++activeCount_;
        StartParticle(*particle);
    }
}

ParticleSystem::Particle* ParticleSystem::TakeRecord() {
    if (free_ == nullptr)
        return reserveUsed_ < reserveCount_ ? &reserve_[reserveUsed_++] : new (std::nothrow) Particle();
    Particle* particle = free_;
    free_ = particle->next;
    return particle;
}

void ParticleSystem::StartParticle(Particle& particle) {
    Vector3 direction;
    emitter_->Emit(particle.position, direction);
    particle.velocity = direction * ParticleRandomSpread(speed, speedSpread);
    particle.acceleration.y = ParticleRandomSpread(acceleration.y, accelerationSpread.y);
    particle.acceleration.x = ParticleRandomSpread(acceleration.x, accelerationSpread.x);
    particle.acceleration.z = ParticleRandomSpread(acceleration.z, accelerationSpread.z);
    particle.age = 0.0f;
    particle.startColor = SpreadColor(startColor, startColorSpread);
    particle.color = particle.startColor;
    particle.endColor = SpreadColor(endColor, endColorSpread);
    particle.startSize = ParticleRandomSpread(startSize, startSizeSpread);
    particle.size = particle.startSize;
    particle.endSize = ParticleRandomSpread(endSize, endSizeSpread);
    particle.lifetime = ParticleRandomSpread(lifetime, lifetimeSpread);
}

void ParticleSystem::UpdateBound() {
    if (!GetUpdateWorldBound()) return;
    SphereBoundingVolume* sphere = CastTo<SphereBoundingVolume>(GetWorldBound());
    if (active_ == nullptr || sphere == nullptr) {
        GeometryNode::UpdateBound();
        return;
    }
    Vector3 low = active_->position;
    Vector3 high = low;
    float largest = 0.0f;
    for (const Particle* particle = active_; particle != nullptr; particle = particle->next) {
        const Vector3& p = particle->position;
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        largest = std::max(largest, std::fabs(particle->size));
    }
    // Half the box's diagonal reaches every corner of the box.
    sphere->SetCenter((low + high) * 0.5f);
    sphere->SetRadius(Length(high - low) * 0.5f + largest * 0.5f);
}

Object* ParticleSystem::FindByName(const String& name) {
    if (Object* found = GeometryNode::FindByName(name)) return found;
    return FindIn(emitter_, name);
}

void ParticleSystem::CollectByType(const Rtti& type, ObjectArray& objects) {
    GeometryNode::CollectByType(type, objects);
    CollectIn(emitter_, type, objects);
}

void ParticleSystem::VisitLinks(LinkVisitor& visitor) {
    GeometryNode::VisitLinks(visitor);
    VisitLink(emitter_, visitor);
}

int32_t ParticleSystem::Save(Stream& stream) {
    int32_t parent;
    {
        HeldBuffers held(*this);
        parent = GeometryNode::Save(stream);
    }
    if (parent != 0) return SaveParentFailed();
    if (SaveFields(stream) != kOk) return FailWithNameId("Невозможно сохранить данные системы частиц. Имя[%s] ID[%d]");
    if (stream.WriteLink(emitter_) != 0)
        return FailWithNameId("Невозможно сохранить эмиттер системы частиц. Имя[%s] ID[%d]");
    return kOk;
}

int32_t ParticleSystem::SaveFields(Stream& stream) {
    stream.WriteInt32(maxParticles_);
    stream.WriteFloat(emissionPeriod);
    stream.WriteFloat(emissionPeriodSpread);
    stream.WriteInt32(particlesPerBurst);
    stream.WriteInt32(burstSpread);
    stream.WriteColor(startColor);
    stream.WriteColor(startColorSpread);
    stream.WriteColor(endColor);
    stream.WriteColor(endColorSpread);
    stream.WriteFloat(speed);
    stream.WriteFloat(speedSpread);
    stream.WriteVector3(acceleration);
    stream.WriteVector3(accelerationSpread);
    stream.WriteFloat(lifetime);
    stream.WriteFloat(lifetimeSpread);
    stream.WriteFloat(startSize);
    stream.WriteFloat(startSizeSpread);
    stream.WriteFloat(endSize);
    stream.WriteFloat(endSizeSpread);
    return stream.GetErrorState() == 0 ? kOk : kFailed;
}

int32_t ParticleSystem::Load(Stream& stream) {
    if (GeometryNode::Load(stream) != 0) return LoadParentFailed();
    if (LoadFields(stream) != kOk) return FailWithNameId("Невозможно загрузить данные системы частиц. Имя[%s] ID[%d]");
    Pointer<Emitter> emitter;
    if (stream.ReadLinkAs(emitter) != 0)
        return FailWithNameId("Невозможно загрузить эмиттер системы частиц. Имя[%s] ID[%d]");
    SetEmitter(emitter);
    return kOk;
}

int32_t ParticleSystem::LoadFields(Stream& stream) {
    int32_t maximum = 0;
    if (stream.ReadInt32(maximum) != 0) return kFailed;
    SetMaxParticles(maximum);
    emissionTimer_ = 0.0f;
    nextInterval_ = 0.0f;
    stream.ReadFloat(emissionPeriod);
    stream.ReadFloat(emissionPeriodSpread);
    stream.ReadInt32(particlesPerBurst);
    stream.ReadInt32(burstSpread);
    stream.ReadColor(startColor);
    stream.ReadColor(startColorSpread);
    stream.ReadColor(endColor);
    stream.ReadColor(endColorSpread);
    stream.ReadFloat(speed);
    stream.ReadFloat(speedSpread);
    stream.ReadVector3(acceleration);
    stream.ReadVector3(accelerationSpread);
    stream.ReadFloat(lifetime);
    stream.ReadFloat(lifetimeSpread);
    stream.ReadFloat(startSize);
    stream.ReadFloat(startSizeSpread);
    stream.ReadFloat(endSize);
    stream.ReadFloat(endSizeSpread);
    if (stream.GetErrorState() != 0) return kFailed;
    emissionPeriod = NonNegative(emissionPeriod);
    emissionPeriodSpread = NonNegative(emissionPeriodSpread);
    particlesPerBurst = NonNegative(particlesPerBurst);
    burstSpread = NonNegative(burstSpread);
    speedSpread = NonNegative(speedSpread);
    lifetime = NonNegative(lifetime);
    lifetimeSpread = NonNegative(lifetimeSpread);
    startSize = NonNegative(startSize);
    startSizeSpread = NonNegative(startSizeSpread);
    endSize = NonNegative(endSize);
    endSizeSpread = NonNegative(endSizeSpread);
    return kOk;
}

}  // namespace zel
