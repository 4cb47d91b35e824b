#include "engine/render/VolumeTexture.h"

namespace zel {

ZEL_DEFINE_RTTI(VolumeTexture, BaseTexture)

VolumeTexture::VolumeTexture(VolumeImage* image, const String& name) : image_(image) { SetName(name); }

VolumeImage* VolumeTexture::GetImage(bool markDirty) {
    if (markDirty) MarkDirty();
    return image_;
}

void VolumeTexture::SetImage(VolumeImage* image) {
    image_ = image;
    ImageReplaced();
}

int32_t VolumeTexture::Save(Stream& stream) { return SaveWithImage(stream, image_); }

int32_t VolumeTexture::Load(Stream& stream) { return LoadWithImage(stream, image_); }

Object* VolumeTexture::FindByName(const String& name) {
    if (Object* found = BaseTexture::FindByName(name)) return found;
    return image_ != nullptr ? image_->FindByName(name) : nullptr;
}

void VolumeTexture::CollectByType(const Rtti& type, ObjectArray& objects) {
    BaseTexture::CollectByType(type, objects);
    if (image_ != nullptr) image_->CollectByType(type, objects);
}

}  // namespace zel
