#include "engine/render/material/NormalmapLightmapTextureEffect.h"

#include "engine/core/Stream.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(NormalmapLightmapTextureEffect, LightmapTextureEffect)

NormalmapLightmapTextureEffect::NormalmapLightmapTextureEffect() = default;

void NormalmapLightmapTextureEffect::GetSlots(MaterialSlots& slots) const {
    LightmapTextureEffect::GetSlots(slots);
    slots.normalmap = {&normalmap_, &normalmapSet_};
}

Object* NormalmapLightmapTextureEffect::FindByName(const String& name) {
    if (Object* found = LightmapTextureEffect::FindByName(name)) return found;
    return FindIn(normalmap_, name);
}

void NormalmapLightmapTextureEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    LightmapTextureEffect::CollectByType(type, objects);
    CollectIn(normalmap_, type, objects);
}

void NormalmapLightmapTextureEffect::VisitLinks(LinkVisitor& visitor) {
    LightmapTextureEffect::VisitLinks(visitor);
    VisitLink(normalmap_, visitor);
}

int32_t NormalmapLightmapTextureEffect::Save(Stream& stream) {
    if (LightmapTextureEffect::Save(stream) != 0) return SaveParentFailed();
    return SaveTextureSet(stream, normalmap_, normalmapSet_);
}

int32_t NormalmapLightmapTextureEffect::Load(Stream& stream) {
    if (LightmapTextureEffect::Load(stream) != 0) return LoadParentFailed();
    return LoadTextureSet(stream, normalmap_, normalmapSet_);
}

}  // namespace zel
