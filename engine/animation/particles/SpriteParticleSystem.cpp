#include "engine/animation/particles/SpriteParticleSystem.h"

#include <new>

#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/Pass.h"
#include "engine/render/Renderer.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/scene/Camera.h"

namespace zel {

ZEL_DEFINE_RTTI(SpriteParticleSystem, ParticleSystem)

namespace {

constexpr int32_t kQuadVertices = 6;

// The square's texture coordinates, in the order its vertices are written.
constexpr Vector2 kQuadCoordinates[kQuadVertices] = {{0, 1}, {0, 0}, {1, 1}, {0, 0}, {1, 0}, {1, 1}};

// A buffer of `count` elements, or null when it or its elements cannot be
// allocated.
template <class B>
Pointer<B> NewBuffer(int32_t count) {
    Pointer<B> buffer = new (std::nothrow) B(count, nullptr);
    if (buffer != nullptr && buffer->GetData() == nullptr) return nullptr;
    return buffer;
}

void MarkChanged(Buffer* buffer) {
    if (buffer != nullptr) buffer->GetBinding().SetDirty(true);
}

}  // namespace

SpriteParticleSystem::SpriteParticleSystem(const String& name) : ParticleSystem(name) {
    SetEffect(new (std::nothrow) SpriteEffect());
}

void SpriteParticleSystem::DetachBuffers() {
    SetVertices(nullptr);
    SetPointSizes(nullptr);
    SetColors(nullptr);
    SetTexCoords(0, nullptr);
    primitiveCount_ = 0;
}

void SpriteParticleSystem::RebuildBuffers() {
    DetachBuffers();
    const int32_t count = GetMaxParticles();
    if (count <= 0) return;
    const Renderer* renderer = GetCurrentRenderer();
    pointSprites_ = renderer != nullptr && renderer->GetCapabilities().pointSprites;
    const bool made = pointSprites_ ? MakePointSpriteBuffers(count) : MakeQuadBuffers(count);
    if (!made) DetachBuffers();
}

bool SpriteParticleSystem::MakePointSpriteBuffers(int32_t count) {
    Pointer<Vector3Buffer> positions = NewBuffer<Vector3Buffer>(count);
    Pointer<Vector2Buffer> coordinates = NewBuffer<Vector2Buffer>(count);
    Pointer<FloatBuffer> sizes = NewBuffer<FloatBuffer>(count);
    Pointer<ColorBuffer> colors = NewBuffer<ColorBuffer>(count);
    if (positions == nullptr || coordinates == nullptr || sizes == nullptr || colors == nullptr) return false;
    SetVertices(positions);
    SetTexCoords(0, coordinates);
    SetPointSizes(sizes);
    SetColors(colors);
    return true;
}

bool SpriteParticleSystem::MakeQuadBuffers(int32_t count) {
    // count ≤ kParticleLimit, so six per particle stays far inside int32.
    const int32_t vertexCount = count * kQuadVertices;
    Pointer<Vector3Buffer> positions = NewBuffer<Vector3Buffer>(vertexCount);
    Pointer<ColorBuffer> colors = NewBuffer<ColorBuffer>(vertexCount);
    Pointer<Vector2Buffer> coordinates = NewBuffer<Vector2Buffer>(vertexCount);
    if (positions == nullptr || colors == nullptr || coordinates == nullptr) return false;
    Vector2* coordinate = coordinates->GetElements();
    for (int32_t i = 0; i < vertexCount; ++i) coordinate[i] = kQuadCoordinates[i % kQuadVertices];
    MarkChanged(coordinates);
    SetVertices(positions);
    SetColors(colors);
    SetTexCoords(0, coordinates);
    return true;
}

void SpriteParticleSystem::UpdateSelf(double time) {
    ParticleSystem::UpdateSelf(time);
    primitiveCount_ = 0;
    if (GetPositions3() == nullptr || GetColors() == nullptr) return;
    if (pointSprites_)
        WritePointSprites();
    else
        WriteQuads();
}

void SpriteParticleSystem::WritePointSprites() {
    Vector3Buffer& positions = *GetPositions3();
    ColorBuffer& colors = *GetColors();
    FloatBuffer* sizes = GetPointSizes();
    if (sizes == nullptr) return;
    const int32_t room = positions.GetCount();
    for (const Particle* particle = GetFirstParticle(); particle != nullptr && primitiveCount_ < room;
         particle = particle->next) {
        positions[primitiveCount_] = particle->position;
        colors[primitiveCount_] = particle->color;
        (*sizes)[primitiveCount_] = particle->size;
        ++primitiveCount_;
    }
    MarkChanged(&positions);
    MarkChanged(&colors);
    MarkChanged(sizes);
}

void SpriteParticleSystem::WriteQuads() {
    const Renderer* renderer = GetCurrentRenderer();
    const Camera* camera = renderer != nullptr ? renderer->GetCamera() : nullptr;
    if (camera == nullptr) return;
    const Vector3 right = camera->GetRight();
    const Vector3 up = camera->GetUp();
    // Half diagonals: the corners lie at size / 2 from the centre.
    const Vector3 a = Normalize(right + up) * 0.5f;
    const Vector3 b = Normalize(up - right) * 0.5f;
    Vector3* position = GetPositions3()->GetElements();
    ColorRGBA* color = GetColors()->GetElements();
    const int32_t room = GetPositions3()->GetCount() / kQuadVertices;
    int32_t written = 0;
    for (const Particle* particle = GetFirstParticle(); particle != nullptr && written < room;
         particle = particle->next, ++written) {
        const Vector3& p = particle->position;
        const Vector3 as = a * particle->size;
        const Vector3 bs = b * particle->size;
        position[0] = p - as;
        position[1] = p + bs;
        position[2] = p - bs;
        position[3] = p + bs;
        position[4] = p + as;
        position[5] = p - bs;
        for (int32_t k = 0; k < kQuadVertices; ++k) color[k] = particle->color;
        position += kQuadVertices;
        color += kQuadVertices;
    }
    primitiveCount_ = written * 2;
    MarkChanged(GetVertices());
    MarkChanged(GetColors());
}

void SpriteParticleSystem::Draw(Renderer& renderer) {
    if (primitiveCount_ > 0) ParticleSystem::Draw(renderer);
}

void SpriteParticleSystem::DrawDeferred(Renderer& renderer) {
    GeometryNodeEffect* effect = GetEffect();
    if (effect == nullptr || primitiveCount_ <= 0) return;
    effect->SetOwnerNode(this);
    renderer.SetCurrentGeometry(this);
    for (int32_t i = 0; i < effect->GetPassCount(renderer); ++i) {
        Pass* pass = effect->GetPass(i);
        renderer.SetCurrentPass(pass);
        renderer.BeginPass(pass);
        if (pass->Draw(renderer) == 0) renderer.DrawUnindexed(primitiveCount_);
        renderer.EmptyLightStack();
    }
}

}  // namespace zel
