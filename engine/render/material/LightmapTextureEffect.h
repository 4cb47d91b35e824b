// A texture times the colour times a light map (stage 1). Both techniques need
// two texture stages: a shader one at any shader level, a fixed-function one.
#pragma once

#include "engine/render/material/TextureEffect.h"

namespace zel {

class LightmapTextureEffect : public TextureEffect {
    ZEL_DECLARE_RTTI

public:
    LightmapTextureEffect();

    // Parent data, then the light-map link and its coordinate set.
    int32_t Save(Stream& stream) override;
    int32_t Load(Stream& stream) override;
    // Parent search, then the light map.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The parent's links, then the light map.
    void VisitLinks(LinkVisitor& visitor) override;
    void GetSlots(MaterialSlots& slots) const override;

    Texture* GetLightmap() const { return lightmap_; }
    void SetLightmap(Texture* map) { lightmap_ = map; }
    // Index of the node's coordinate buffer the light map uses.
    int32_t GetLightmapSet() const { return lightmapSet_; }
    void SetLightmapSet(int32_t set) { lightmapSet_ = set; }

private:
    Pointer<Texture> lightmap_;
    int32_t lightmapSet_ = 1;
};
ZEL_REGISTER_CLASS(LightmapTextureEffect)

}  // namespace zel
