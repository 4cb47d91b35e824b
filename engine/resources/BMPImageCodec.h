// "BMPImageCodec": uncompressed 8- and 24-bit BMP files.
#pragma once

#include "engine/resources/BufferedImageCodec.h"

namespace zel {

class BMPImageCodec : public BufferedImageCodec {
public:
    // Named "BMPImageCodec", taking the extensions "BMP", "bmp", "Bmp".
    BMPImageCodec();

    // The module's "CreateCodec" entry point: 0, or 2 out of memory.
    static int32_t Create(Codec** codec);

protected:
    int32_t Decode(const uint8_t* data, int32_t size, Image& image) override;
    // Formats 0 and 2 only; else 3.
    int32_t Encode(Image& image, ByteBlock& out) override;
};

}  // namespace zel
