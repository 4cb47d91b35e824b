#include "engine/render/Texture.h"

namespace zel {

ZEL_DEFINE_RTTI(Texture, BaseTexture)

Texture::Texture(Image* image, const String& name) : image_(image) { SetName(name); }

void Texture::SetImage(Image* image) {
    image_ = image;
    ImageReplaced();
}

int32_t Texture::Save(Stream& stream) { return SaveWithImage(stream, image_); }

int32_t Texture::Load(Stream& stream) { return LoadWithImage(stream, image_); }

Object* Texture::FindByName(const String& name) {
    if (Object* found = BaseTexture::FindByName(name)) return found;
    return image_ != nullptr ? image_->FindByName(name) : nullptr;
}

void Texture::CollectByType(const Rtti& type, ObjectArray& objects) {
    BaseTexture::CollectByType(type, objects);
    if (image_ != nullptr) image_->CollectByType(type, objects);
}

}  // namespace zel
