// "CUBEImageCodec": cube maps stored as six TGA images in one file; the
// image is a VolumeImage of depth 6.
#pragma once

#include "engine/resources/image/BufferedImageCodec.h"

namespace zel {

class CUBEImageCodec : public BufferedImageCodec {
public:
    // Named "CUBEImageCodec", taking the extensions "CUBE", "cube", "Cube".
    CUBEImageCodec();

    // Name of the internal module whose "CreateCodec" makes this codec.
    static constexpr const char* kModuleName = "CUBEImageCodec";

protected:
    // 3 when the image is not a VolumeImage.
    int32_t Decode(const uint8_t* data, int32_t size, Image& image) override;
    // 1 when the image is not a VolumeImage of depth 6; 3 when its faces
    // cannot be written as TGA.
    int32_t Encode(Image& image, ByteBlock& out) override;
};

}  // namespace zel
