// A normal-mapped texture lit by one directional light, then times a light
// map (three samplers at level 2.0). Without programs it takes two passes
// like LightmapTexture1DLEffect.
#pragma once

#include "engine/render/NormalmapLightmapTextureEffect.h"
#include "engine/scene/Light.h"

namespace zel {

class NormalmapLightmapTexture1DLEffect : public NormalmapLightmapTextureEffect {
    ZEL_DECLARE_RTTI

public:
    NormalmapLightmapTexture1DLEffect();

    // Parent data, then the light link.
    int32_t Save(Stream& stream) override;
    int32_t Load(Stream& stream) override;
    // Parent search, then the light.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    void GetSlots(MaterialSlots& slots) const override;

    // The directional light; read by the passes at every draw.
    Light* GetLight() const { return light_; }
    void SetLight(Light* light) { light_ = light; }

private:
    Pointer<Light> light_;
};
ZEL_REGISTER_CLASS(NormalmapLightmapTexture1DLEffect)

}  // namespace zel
