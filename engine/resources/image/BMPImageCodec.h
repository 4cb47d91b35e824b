// "BMPImageCodec": uncompressed 8- and 24-bit BMP files.
#pragma once

#include "engine/resources/image/BufferedImageCodec.h"

namespace zel {

class BMPImageCodec : public BufferedImageCodec {
public:
    // Named "BMPImageCodec", taking the extensions "BMP", "bmp", "Bmp".
    BMPImageCodec();

    // Name of the internal module whose "CreateCodec" makes this codec.
    static constexpr const char* kModuleName = "BMPImageCodec";

protected:
    int32_t Decode(const uint8_t* data, int32_t size, Image& image) override;
    // Formats 0 and 2 only; else 3.
    int32_t Encode(Image& image, ByteBlock& out) override;
};

}  // namespace zel
