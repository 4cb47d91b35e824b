// A 3D texture made from a volume image.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/render/BaseTexture.h"
#include "engine/resources/VolumeImage.h"

namespace zel {

class VolumeTexture : public BaseTexture {
    ZEL_DECLARE_RTTI

public:
    VolumeTexture() = default;
    explicit VolumeTexture(VolumeImage* image, const String& name = String());

    // Parent data, then the volume image link; a successful load logs the
    // texture's INFO line.
    int32_t Save(Stream& stream) override;
    int32_t Load(Stream& stream) override;
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;

    // With markDirty the next bind uploads the image again (the caller is
    // about to change its pixels).
    virtual VolumeImage* GetImage(bool markDirty);
    // As Texture::SetImage.
    virtual void SetImage(VolumeImage* image);

private:
    Pointer<VolumeImage> image_;
};
ZEL_REGISTER_CLASS(VolumeTexture)

}  // namespace zel
