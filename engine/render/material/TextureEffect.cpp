#include "engine/render/material/TextureEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/material/FlatFixedPass.h"
#include "engine/render/material/FlatShaderPass.h"
#include "engine/render/material/MaterialTechnique.h"
#include "engine/scene/Light.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(TextureEffect, ColorEffect)

TextureEffect::TextureEffect() {
    // A technique that cannot be added (out of memory) is dropped; the effect
    // runs one of the others, or draws nothing.
    (void)AddTechnique(new (std::nothrow) MaterialTechnique(this, &MaterialTechnique::OneTexture,
                                                            &FlatFixedPass::Make<1>));
    (void)AddTechnique(new (std::nothrow) MaterialTechnique(this, &MaterialTechnique::Shaders,
                                                            &FlatShaderPass::Make<&kTexturePrograms, 1>));
}

void TextureEffect::GetSlots(MaterialSlots& slots) const {
    ColorEffect::GetSlots(slots);
    slots.texture = {&texture_, &texCoordSet_};
}

Object* TextureEffect::FindByName(const String& name) {
    if (Object* found = ColorEffect::FindByName(name)) return found;
    return FindIn(texture_, name);
}

void TextureEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    ColorEffect::CollectByType(type, objects);
    CollectIn(texture_, type, objects);
}

void TextureEffect::VisitLinks(LinkVisitor& visitor) {
    ColorEffect::VisitLinks(visitor);
    VisitLink(texture_, visitor);
}

int32_t TextureEffect::Save(Stream& stream) {
    if (ColorEffect::Save(stream) != 0) return SaveParentFailed();
    return SaveTextureSet(stream, texture_, texCoordSet_);
}

int32_t TextureEffect::Load(Stream& stream) {
    if (ColorEffect::Load(stream) != 0) return LoadParentFailed();
    return LoadTextureSet(stream, texture_, texCoordSet_);
}

int32_t TextureEffect::SaveTextureSet(Stream& stream, Texture* texture, int32_t set) {
    if (stream.WriteLink(texture) != 0) return FailWithNameId("Невозможно сохранить текстуру. Имя[%s] ID[%d]");
    if (stream.WriteInt32(set) != 0)
        return FailWithNameId("Невозможно сохранить номер набора текстурных координат. Имя[%s] ID[%d]");
    return kOk;
}

int32_t TextureEffect::LoadTextureSet(Stream& stream, Pointer<Texture>& texture, int32_t& set) {
    if (stream.ReadLinkAs(texture) != 0) return FailWithIdName("Невозможно загрузить текстуру. ID[%d] Имя[%s]");
    if (stream.ReadInt32(set) != 0)
        return FailWithIdName("Невозможно загрузить номер набора текстурных координат. ID[%d] Имя[%s]");
    return kOk;
}

int32_t TextureEffect::SaveMap(Stream& stream, Texture* map, const char* message) {
    return stream.WriteLink(map) != 0 ? FailWithNameId(message) : kOk;
}

int32_t TextureEffect::LoadMap(Stream& stream, Pointer<Texture>& map, const char* message) {
    return stream.ReadLinkAs(map) != 0 ? FailWithIdName(message) : kOk;
}

int32_t TextureEffect::SaveLight(Stream& stream, Light* light) {
    if (stream.WriteLink(light) != 0) return FailWithNameId("Невозможно сохранить источник света. Имя[%s] ID[%d]");
    return kOk;
}

int32_t TextureEffect::LoadLight(Stream& stream, Pointer<Light>& light) {
    if (stream.ReadLinkAs(light) != 0) return FailWithIdName("Невозможно загрузить источник света. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
