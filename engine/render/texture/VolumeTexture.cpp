#include "engine/render/texture/VolumeTexture.h"

namespace zel {

ZEL_DEFINE_RTTI(VolumeTexture, BaseTexture)

VolumeTexture::VolumeTexture(VolumeImage* image, const String& name) : ImageTexture(image, name) {}

VolumeImage* VolumeTexture::GetImage(bool markDirty) {
    if (markDirty) MarkDirty();
    return image_;
}

void VolumeTexture::SetImage(VolumeImage* image) { ReplaceImage(image); }

}  // namespace zel
