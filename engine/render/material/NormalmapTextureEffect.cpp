#include "engine/render/material/NormalmapTextureEffect.h"

#include "engine/core/Stream.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(NormalmapTextureEffect, TextureEffect)

NormalmapTextureEffect::NormalmapTextureEffect() = default;

void NormalmapTextureEffect::GetSlots(MaterialSlots& slots) const {
    TextureEffect::GetSlots(slots);
    slots.normalmap = {&normalmap_, &normalmapSet_};
}

Object* NormalmapTextureEffect::FindByName(const String& name) {
    if (Object* found = TextureEffect::FindByName(name)) return found;
    return FindIn(normalmap_, name);
}

void NormalmapTextureEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    TextureEffect::CollectByType(type, objects);
    CollectIn(normalmap_, type, objects);
}

void NormalmapTextureEffect::VisitLinks(LinkVisitor& visitor) {
    TextureEffect::VisitLinks(visitor);
    VisitLink(normalmap_, visitor);
}

int32_t NormalmapTextureEffect::Save(Stream& stream) {
    if (TextureEffect::Save(stream) != 0) return SaveParentFailed();
    return SaveTextureSet(stream, normalmap_, normalmapSet_);
}

int32_t NormalmapTextureEffect::Load(Stream& stream) {
    if (TextureEffect::Load(stream) != 0) return LoadParentFailed();
    return LoadTextureSet(stream, normalmap_, normalmapSet_);
}

}  // namespace zel
