// A texture lit by one directional light, then times a light map. Without
// programs it takes two passes: the lit texture, then the light map
// multiplied into the frame.
#pragma once

#include "engine/render/LightmapTextureEffect.h"
#include "engine/scene/Light.h"

namespace zel {

class LightmapTexture1DLEffect : public LightmapTextureEffect {
    ZEL_DECLARE_RTTI

public:
    LightmapTexture1DLEffect();

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
ZEL_REGISTER_CLASS(LightmapTexture1DLEffect)

}  // namespace zel
