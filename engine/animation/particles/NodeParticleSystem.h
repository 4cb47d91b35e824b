// Particles drawn as copies of a template geometry node: the template is
// moved to each particle, scaled by its size and drawn, then put back.
#pragma once

#include "engine/animation/particles/ParticleSystem.h"
#include "engine/core/Pointer.h"

namespace zel {

class NodeParticleSystem : public ParticleSystem {
    ZEL_DECLARE_RTTI

public:
    explicit NodeParticleSystem(const String& name = String()) : ParticleSystem(name) {}

    // The particle system's data, then the template link.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Particle system search, then the template.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The parent's links, then the template node.
    void VisitLinks(LinkVisitor& visitor) override;

    // Never drawn through its own primitives: the template is.
    int32_t GetPrimitiveType() const override { return kPoints; }

    // Without a template or particles nothing. When the template's effect
    // blends, the system goes on the renderer's sorted deferred list (keyed
    // by its own bound) and is drawn from there; otherwise at once.
    void Draw(Renderer& renderer) override;
    // For each living particle: the template's world translation becomes
    // the particle's position and its world scale the particle's size on
    // every axis (rotation kept), its bound is updated and it draws through
    // its effect's passes. The template's world transform and bound are
    // restored afterwards.
    void DrawDeferred(Renderer& renderer) override;

    // A template that is this system itself is refused (set to none).
    void SetTemplate(GeometryNode* node);
    GeometryNode* GetTemplate() const { return template_; }

private:
    Pointer<GeometryNode> template_;
    // Set while the template is searched or drawn, so that templates that
    // lead back here cannot recurse for ever.
    bool busy_ = false;
};
ZEL_REGISTER_CLASS(NodeParticleSystem)

}  // namespace zel
