#include "engine/render/LightmapTexture1DLEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/LitFixedPass.h"
#include "engine/render/LitShaderPass.h"
#include "engine/render/MaterialTechnique.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(LightmapTexture1DLEffect, LightmapTextureEffect)

LightmapTexture1DLEffect::LightmapTexture1DLEffect() {
    AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::TwoTexturesLight,
        &MakeMaterialPass<LitFixedPass, TextureEffect>, &MakeMaterialPass<LightmapOverlayPass, TextureEffect>));
    AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::ShadersTwoTexturesLight,
        &LitShaderPass::Make<&kLitLightmapPrograms, false>));
}

void LightmapTexture1DLEffect::GetSlots(MaterialSlots& slots) const {
    LightmapTextureEffect::GetSlots(slots);
    slots.light = &light_;
}

Object* LightmapTexture1DLEffect::FindByName(const String& name) {
    if (Object* found = LightmapTextureEffect::FindByName(name)) return found;
    return FindIn(light_, name);
}

void LightmapTexture1DLEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    LightmapTextureEffect::CollectByType(type, objects);
    CollectIn(light_, type, objects);
}

int32_t LightmapTexture1DLEffect::Save(Stream& stream) {
    if (LightmapTextureEffect::Save(stream) != 0) return SaveParentFailed();
    return SaveLight(stream, light_);
}

int32_t LightmapTexture1DLEffect::Load(Stream& stream) {
    if (LightmapTextureEffect::Load(stream) != 0) return LoadParentFailed();
    return LoadLight(stream, light_);
}

}  // namespace zel
