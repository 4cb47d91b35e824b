// Draws textured sprites whose positions are already in world space:
// particles and flares. One fixed-function technique (at least one texture
// stage) with point sprites on; without texture stages nothing is drawn.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/texture/Texture.h"

namespace zel {

class SpriteEffect : public GeometryNodeEffect {
    ZEL_DECLARE_RTTI

public:
    SpriteEffect();

    // Parent data, then the texture link.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Effect search, then the texture.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The parent's links, then the texture.
    void VisitLinks(LinkVisitor& visitor) override;

    // Read by the pass at every draw; null draws untextured.
    Texture* GetTexture() const { return texture_; }
    void SetTexture(Texture* texture) { texture_ = texture; }

private:
    Pointer<Texture> texture_;
};
ZEL_REGISTER_CLASS(SpriteEffect)

}  // namespace zel
