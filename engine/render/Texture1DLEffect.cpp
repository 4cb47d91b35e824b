#include "engine/render/Texture1DLEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/LitFixedPass.h"
#include "engine/render/LitShaderPass.h"
#include "engine/render/MaterialTechnique.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(Texture1DLEffect, TextureEffect)

Texture1DLEffect::Texture1DLEffect() {
    AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::TwoTexturesLight,
        &MakeMaterialPass<LitFixedPass, TextureEffect>));
    AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::ShadersTwoTexturesLight,
        &LitShaderPass::Make<&kLitPrograms, false>));
}

void Texture1DLEffect::GetSlots(MaterialSlots& slots) const {
    TextureEffect::GetSlots(slots);
    slots.light = &light_;
}

Object* Texture1DLEffect::FindByName(const String& name) {
    if (Object* found = TextureEffect::FindByName(name)) return found;
    return FindIn(light_, name);
}

void Texture1DLEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    TextureEffect::CollectByType(type, objects);
    CollectIn(light_, type, objects);
}

int32_t Texture1DLEffect::Save(Stream& stream) {
    if (TextureEffect::Save(stream) != 0) return SaveParentFailed();
    return SaveLight(stream, light_);
}

int32_t Texture1DLEffect::Load(Stream& stream) {
    if (TextureEffect::Load(stream) != 0) return LoadParentFailed();
    return LoadLight(stream, light_);
}

}  // namespace zel
