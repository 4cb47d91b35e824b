#include "engine/animation/particles/NodeParticleSystem.h"

#include "engine/core/Stream.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/Renderer.h"
#include "engine/scene/Camera.h"

namespace zel {

ZEL_DEFINE_RTTI(NodeParticleSystem, ParticleSystem)

void NodeParticleSystem::SetTemplate(GeometryNode* node) { template_ = node != this ? node : nullptr; }

void NodeParticleSystem::Draw(Renderer& renderer) {
    if (template_ == nullptr || GetFirstParticle() == nullptr || busy_) return;
    const GeometryNodeEffect* effect = template_->GetEffect();
    if (effect == nullptr || !effect->IsEnabled()) return;
    if (!effect->blendEnable) {
        DrawDeferred(renderer);
        return;
    }
    // Drawn late with the other blended geometry, farthest first.
    const Vector3 center = GetWorldBound() != nullptr ? GetWorldBound()->GetCenter() : GetWorld().translation;
    const Camera* camera = renderer.GetCamera();
    renderer.AddDeferred(this, camera != nullptr ? SquaredLength(center - camera->GetPosition()) : 0.0f);
}

void NodeParticleSystem::DrawDeferred(Renderer& renderer) {
    if (template_ == nullptr || busy_) return;
    busy_ = true;
    GeometryNode& node = *template_;
    const Transform saved = node.GetWorld();
    for (const Particle* particle = GetFirstParticle(); particle != nullptr; particle = particle->next) {
        Transform world = saved;
        world.translation = particle->position;
        world.scale = {particle->size, particle->size, particle->size};
        world.isIdentity = false;
        node.SetWorld(world);
        node.UpdateBound();
        node.DrawDeferred(renderer);
    }
    node.SetWorld(saved);
    node.UpdateBound();
    busy_ = false;
}

Object* NodeParticleSystem::FindByName(const String& name) {
    if (busy_) return nullptr;
    busy_ = true;
    Object* found = ParticleSystem::FindByName(name);
    if (found == nullptr) found = FindIn(template_, name);
    busy_ = false;
    return found;
}

void NodeParticleSystem::CollectByType(const Rtti& type, ObjectArray& objects) {
    if (busy_) return;
    busy_ = true;
    ParticleSystem::CollectByType(type, objects);
    CollectIn(template_, type, objects);
    busy_ = false;
}

void NodeParticleSystem::VisitLinks(LinkVisitor& visitor) {
    ParticleSystem::VisitLinks(visitor);
    VisitLink(template_, visitor);
}

int32_t NodeParticleSystem::Save(Stream& stream) {
    if (ParticleSystem::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteLink(template_) != 0)
        return FailWithNameId("Невозможно сохранить данные системы частиц. Имя[%s] ID[%d]");
    return kOk;
}

int32_t NodeParticleSystem::Load(Stream& stream) {
    if (ParticleSystem::Load(stream) != 0) return LoadParentFailed();
    Pointer<GeometryNode> node;
    if (stream.ReadLinkAs(node) != 0)
        return FailWithNameId("Невозможно загрузить данные системы частиц. Имя[%s] ID[%d]");
    SetTemplate(node);
    return kOk;
}

}  // namespace zel
