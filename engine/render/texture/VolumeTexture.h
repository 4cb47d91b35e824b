// A 3D texture made from a volume image.
#pragma once

#include "engine/render/texture/ImageTexture.h"
#include "engine/resources/VolumeImage.h"

namespace zel {

class VolumeTexture : public ImageTexture<VolumeImage> {
    ZEL_DECLARE_RTTI

public:
    VolumeTexture() = default;
    explicit VolumeTexture(VolumeImage* image, const String& name = String());

    // With markDirty the next bind uploads the image again (the caller is
    // about to change its pixels).
    virtual VolumeImage* GetImage(bool markDirty);
    // As Texture::SetImage.
    virtual void SetImage(VolumeImage* image);

};
ZEL_REGISTER_CLASS(VolumeTexture)

}  // namespace zel
