// A texture lit by one directional light: per vertex with level-1.x programs,
// per pixel with level 2.0, through the device's lighting without programs.
// Both techniques need two texture stages and a light; below that it draws
// as TextureEffect (unlit).
#pragma once

#include "engine/render/TextureEffect.h"
#include "engine/scene/Light.h"

namespace zel {

class Texture1DLEffect : public TextureEffect {
    ZEL_DECLARE_RTTI

public:
    Texture1DLEffect();

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
ZEL_REGISTER_CLASS(Texture1DLEffect)

}  // namespace zel
