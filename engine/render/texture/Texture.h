// A 2D texture made from an image; also a render target (with a depth
// surface of its own by default) and a depth texture for shadow maps.
#pragma once

#include "engine/render/texture/ImageTexture.h"
#include "engine/resources/Image.h"

namespace zel {

class Texture : public ImageTexture<Image> {
    ZEL_DECLARE_RTTI

public:
    Texture() = default;
    explicit Texture(Image* image, const String& name = String());

    // Null: the texture binds as no texture.
    Image* GetImage() const { return image_; }
    // Replaces the image; the level count goes back to 0 and the device
    // texture is released.
    void SetImage(Image* image) { ReplaceImage(image); }

    // When used as a render target, a depth surface of the texture's size
    // is made and bound with it.
    bool HasOwnDepthBuffer() const { return ownDepthBuffer_ != 0; }
    void SetOwnDepthBuffer(bool on) { ownDepthBuffer_ = on ? 1 : 0; }

private:
    uint8_t ownDepthBuffer_ = 1;
};
ZEL_REGISTER_CLASS(Texture)

}  // namespace zel
