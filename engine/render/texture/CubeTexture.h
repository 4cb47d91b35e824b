// A cube-map texture: its image holds the six faces one after the other,
// each edge × edge pixels. As a render target it always gets its own depth
// surface.
#pragma once

#include "engine/render/texture/ImageTexture.h"
#include "engine/resources/Image.h"

namespace zel {

class CubeTexture : public ImageTexture<Image> {
    ZEL_DECLARE_RTTI

public:
    CubeTexture() = default;
    explicit CubeTexture(Image* image, const String& name = String());

    Image* GetImage() const { return image_; }
    // As Texture::SetImage.
    void SetImage(Image* image) { ReplaceImage(image); }

};
ZEL_REGISTER_CLASS(CubeTexture)

}  // namespace zel
