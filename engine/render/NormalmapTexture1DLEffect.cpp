#include "engine/render/NormalmapTexture1DLEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/LitFixedPass.h"
#include "engine/render/LitShaderPass.h"
#include "engine/render/MaterialTechnique.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(NormalmapTexture1DLEffect, NormalmapTextureEffect)

NormalmapTexture1DLEffect::NormalmapTexture1DLEffect() {
    AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::TwoTexturesLight,
        &MakeMaterialPass<LitFixedPass, TextureEffect>));
    AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::ShadersThreeTextures,
        &LitShaderPass::Make<&kNormalmapLitPrograms, true>));
}

void NormalmapTexture1DLEffect::GetSlots(MaterialSlots& slots) const {
    NormalmapTextureEffect::GetSlots(slots);
    slots.light = &light_;
}

Object* NormalmapTexture1DLEffect::FindByName(const String& name) {
    if (Object* found = NormalmapTextureEffect::FindByName(name)) return found;
    return FindIn(light_, name);
}

void NormalmapTexture1DLEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    NormalmapTextureEffect::CollectByType(type, objects);
    CollectIn(light_, type, objects);
}

int32_t NormalmapTexture1DLEffect::Save(Stream& stream) {
    if (NormalmapTextureEffect::Save(stream) != 0) return SaveParentFailed();
    return SaveLight(stream, light_);
}

int32_t NormalmapTexture1DLEffect::Load(Stream& stream) {
    if (NormalmapTextureEffect::Load(stream) != 0) return LoadParentFailed();
    return LoadLight(stream, light_);
}

}  // namespace zel
