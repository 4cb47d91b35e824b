// A texture lit per pixel by one directional light on a tangent-space normal
// map (level 2.0; per vertex without the map at level 1.x). The shader
// technique needs three texture stages; the fixed-function one lights the
// plain texture.
#pragma once

#include "engine/render/NormalmapTextureEffect.h"
#include "engine/scene/Light.h"

namespace zel {

class NormalmapTexture1DLEffect : public NormalmapTextureEffect {
    ZEL_DECLARE_RTTI

public:
    NormalmapTexture1DLEffect();

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
ZEL_REGISTER_CLASS(NormalmapTexture1DLEffect)

}  // namespace zel
