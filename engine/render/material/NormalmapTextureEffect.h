// A texture with a normal map. No techniques of its own: it draws as
// TextureEffect; its subclasses (the lit and the water effects) use the map.
#pragma once

#include "engine/render/material/TextureEffect.h"

namespace zel {

class NormalmapTextureEffect : public TextureEffect {
    ZEL_DECLARE_RTTI

public:
    NormalmapTextureEffect();

    // Parent data, then the normal-map link and its coordinate set.
    int32_t Save(Stream& stream) override;
    int32_t Load(Stream& stream) override;
    // Parent search, then the normal map.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The parent's links, then the normal map.
    void VisitLinks(LinkVisitor& visitor) override;
    void GetSlots(MaterialSlots& slots) const override;

    Texture* GetNormalmap() const { return normalmap_; }
    void SetNormalmap(Texture* map) { normalmap_ = map; }
    // Index of the node's coordinate buffer the normal map uses.
    int32_t GetNormalmapSet() const { return normalmapSet_; }
    void SetNormalmapSet(int32_t set) { normalmapSet_ = set; }

private:
    Pointer<Texture> normalmap_;
    int32_t normalmapSet_ = 1;
};
ZEL_REGISTER_CLASS(NormalmapTextureEffect)

}  // namespace zel
