// A texture times the effect colour. Shader technique at any shader level,
// fixed-function technique with one texture stage; the base of every
// textured material, whose save and load helpers for texture links,
// coordinate sets and lights live here.
#pragma once

#include "engine/render/material/ColorEffect.h"
#include "engine/render/texture/Texture.h"

namespace zel {

class Light;

class TextureEffect : public ColorEffect {
    ZEL_DECLARE_RTTI

public:
    TextureEffect();

    // Parent data, then the texture link and its coordinate set.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Parent search, then the texture.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The parent's links, then the texture.
    void VisitLinks(LinkVisitor& visitor) override;
    void GetSlots(MaterialSlots& slots) const override;

    Texture* GetTexture() const { return texture_; }
    void SetTexture(Texture* texture) { texture_ = texture; }
    // Index of the node's coordinate buffer the texture uses.
    int32_t GetTexCoordSet() const { return texCoordSet_; }
    void SetTexCoordSet(int32_t set) { texCoordSet_ = set; }

protected:
    // A texture link and its coordinate set, with the texture and set
    // messages. 0 ok, 1 failed (logged).
    int32_t SaveTextureSet(Stream& stream, Texture* texture, int32_t set);
    int32_t LoadTextureSet(Stream& stream, Pointer<Texture>& texture, int32_t& set);
    // A map link alone, failing with `message`.
    int32_t SaveMap(Stream& stream, Texture* map, const char* message);
    int32_t LoadMap(Stream& stream, Pointer<Texture>& map, const char* message);
    // The light link of the lit classes.
    int32_t SaveLight(Stream& stream, Light* light);
    int32_t LoadLight(Stream& stream, Pointer<Light>& light);

private:
    Pointer<Texture> texture_;
    int32_t texCoordSet_ = 0;
};
ZEL_REGISTER_CLASS(TextureEffect)

}  // namespace zel
