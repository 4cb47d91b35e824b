#include "engine/render/CubeTexture.h"

namespace zel {

ZEL_DEFINE_RTTI(CubeTexture, BaseTexture)

CubeTexture::CubeTexture(Image* image, const String& name) : image_(image) { SetName(name); }

void CubeTexture::SetImage(Image* image) {
    image_ = image;
    ImageReplaced();
}

int32_t CubeTexture::Save(Stream& stream) { return SaveWithImage(stream, image_); }

int32_t CubeTexture::Load(Stream& stream) { return LoadWithImage(stream, image_); }

Object* CubeTexture::FindByName(const String& name) {
    if (Object* found = BaseTexture::FindByName(name)) return found;
    return image_ != nullptr ? image_->FindByName(name) : nullptr;
}

void CubeTexture::CollectByType(const Rtti& type, ObjectArray& objects) {
    BaseTexture::CollectByType(type, objects);
    if (image_ != nullptr) image_->CollectByType(type, objects);
}

}  // namespace zel
