// A flat water surface that shows the screen-space reflection (stage 1,
// clamped) distorted by two layers of its normal map (stage 0) drifting on
// a circle. Needs pixel programs of level 2.0; otherwise it draws as
// TextureEffect.
#pragma once

#include "engine/render/material/NormalmapTextureEffect.h"
#include "engine/render/water/WaterPass.h"

namespace zel {

class ReflectiveQuietFlatWaterEffect : public NormalmapTextureEffect {
    ZEL_DECLARE_RTTI

public:
    ReflectiveQuietFlatWaterEffect();

    // Parent data, then the reflection-map link, the normal-map scale, the
    // ripple radius and angular speed, and the distortion.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Parent search, then the reflection map.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The parent's links, then the reflection map.
    void VisitLinks(LinkVisitor& visitor) override;

    Texture* GetReflectionMap() const { return reflectionMap_; }
    void SetReflectionMap(Texture* map) { reflectionMap_ = map; }

    WaterRipple ripple;
    // How far the normal map shifts the reflection lookup.
    float distortion = 0.0f;

private:
    Pointer<Texture> reflectionMap_;
};
ZEL_REGISTER_CLASS(ReflectiveQuietFlatWaterEffect)

}  // namespace zel
