// A cube-map texture: its image holds the six faces one after the other,
// each edge × edge pixels. As a render target it always gets its own depth
// surface.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/render/BaseTexture.h"
#include "engine/resources/Image.h"

namespace zel {

class CubeTexture : public BaseTexture {
    ZEL_DECLARE_RTTI

public:
    CubeTexture() = default;
    explicit CubeTexture(Image* image, const String& name = String());

    // Parent data, then the image link; a successful load logs the texture's
    // INFO line.
    int32_t Save(Stream& stream) override;
    int32_t Load(Stream& stream) override;
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;

    Image* GetImage() const { return image_; }
    // As Texture::SetImage.
    void SetImage(Image* image);

private:
    Pointer<Image> image_;
};
ZEL_REGISTER_CLASS(CubeTexture)

}  // namespace zel
