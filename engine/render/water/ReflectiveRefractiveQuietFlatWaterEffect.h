// A flat water surface that blends the screen-space refraction (stage 3)
// into the reflection (stage 2), both clamped and distorted by two drifting
// layers of the normal map (stage 0, wrapped), by a Fresnel map (stage 1)
// indexed with the cosine of the viewing angle. Needs pixel programs of
// level 2.0; otherwise it draws as TextureEffect.
#pragma once

#include "engine/render/material/NormalmapTextureEffect.h"
#include "engine/render/water/WaterPass.h"

namespace zel {

class ReflectiveRefractiveQuietFlatWaterEffect : public NormalmapTextureEffect {
    ZEL_DECLARE_RTTI

public:
    ReflectiveRefractiveQuietFlatWaterEffect();

    // Parent data, then the reflection-, refraction- and Fresnel-map links,
    // the normal-map scale, the ripple radius and angular speed, and the
    // reflection and refraction distortions.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Parent search, then the three maps.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The parent's links, then the three maps.
    void VisitLinks(LinkVisitor& visitor) override;

    Texture* GetReflectionMap() const { return reflectionMap_; }
    void SetReflectionMap(Texture* map) { reflectionMap_ = map; }
    Texture* GetRefractionMap() const { return refractionMap_; }
    void SetRefractionMap(Texture* map) { refractionMap_ = map; }
    Texture* GetFresnelMap() const { return fresnelMap_; }
    void SetFresnelMap(Texture* map) { fresnelMap_ = map; }

    WaterRipple ripple;
    float reflectionDistortion = 0.0f;
    float refractionDistortion = 0.0f;

private:
    Pointer<Texture> reflectionMap_;
    Pointer<Texture> refractionMap_;
    Pointer<Texture> fresnelMap_;
};
ZEL_REGISTER_CLASS(ReflectiveRefractiveQuietFlatWaterEffect)

}  // namespace zel
