#include "engine/render/material/LightmapTextureEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/material/FlatFixedPass.h"
#include "engine/render/material/FlatShaderPass.h"
#include "engine/render/material/MaterialTechnique.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(LightmapTextureEffect, TextureEffect)

LightmapTextureEffect::LightmapTextureEffect() {
    AddTechnique(new (std::nothrow) MaterialTechnique(this, &MaterialTechnique::TwoTextures, &FlatFixedPass::Make<2>));
    AddTechnique(new (std::nothrow) MaterialTechnique(this, &MaterialTechnique::ShadersTwoTextures,
                                                      &FlatShaderPass::Make<&kLightmapPrograms, 2>));
}

void LightmapTextureEffect::GetSlots(MaterialSlots& slots) const {
    TextureEffect::GetSlots(slots);
    slots.lightmap = {&lightmap_, &lightmapSet_};
}

Object* LightmapTextureEffect::FindByName(const String& name) {
    if (Object* found = TextureEffect::FindByName(name)) return found;
    return FindIn(lightmap_, name);
}

void LightmapTextureEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    TextureEffect::CollectByType(type, objects);
    CollectIn(lightmap_, type, objects);
}

void LightmapTextureEffect::VisitLinks(LinkVisitor& visitor) {
    TextureEffect::VisitLinks(visitor);
    VisitLink(lightmap_, visitor);
}

int32_t LightmapTextureEffect::Save(Stream& stream) {
    if (TextureEffect::Save(stream) != 0) return SaveParentFailed();
    return SaveTextureSet(stream, lightmap_, lightmapSet_);
}

int32_t LightmapTextureEffect::Load(Stream& stream) {
    if (TextureEffect::Load(stream) != 0) return LoadParentFailed();
    return LoadTextureSet(stream, lightmap_, lightmapSet_);
}

}  // namespace zel
