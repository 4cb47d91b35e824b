#include "engine/render/NormalmapLightmapTexture1DLEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/LitFixedPass.h"
#include "engine/render/LitShaderPass.h"
#include "engine/render/MaterialTechnique.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(NormalmapLightmapTexture1DLEffect, NormalmapLightmapTextureEffect)

NormalmapLightmapTexture1DLEffect::NormalmapLightmapTexture1DLEffect() {
    AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::TwoTexturesLight,
        &MakeMaterialPass<LitFixedPass, TextureEffect>, &MakeMaterialPass<LightmapOverlayPass, TextureEffect>));
    AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::ShadersTwoTexturesLight,
        &LitShaderPass::Make<&kNormalmapLightmapLitPrograms, true>));
}

void NormalmapLightmapTexture1DLEffect::GetSlots(MaterialSlots& slots) const {
    NormalmapLightmapTextureEffect::GetSlots(slots);
    slots.light = &light_;
}

Object* NormalmapLightmapTexture1DLEffect::FindByName(const String& name) {
    if (Object* found = NormalmapLightmapTextureEffect::FindByName(name)) return found;
    return FindIn(light_, name);
}

void NormalmapLightmapTexture1DLEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    NormalmapLightmapTextureEffect::CollectByType(type, objects);
    CollectIn(light_, type, objects);
}

int32_t NormalmapLightmapTexture1DLEffect::Save(Stream& stream) {
    if (NormalmapLightmapTextureEffect::Save(stream) != 0) return SaveParentFailed();
    return SaveLight(stream, light_);
}

int32_t NormalmapLightmapTexture1DLEffect::Load(Stream& stream) {
    if (NormalmapLightmapTextureEffect::Load(stream) != 0) return LoadParentFailed();
    return LoadLight(stream, light_);
}

}  // namespace zel
