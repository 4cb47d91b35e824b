// "TGAImageCodec": uncompressed and run-length encoded 24- and 32-bit TGA
// files; writes uncompressed files with a top-left origin.
#pragma once

#include "engine/resources/image/BufferedImageCodec.h"

namespace zel {

class TGAImageCodec : public BufferedImageCodec {
public:
    // Named "TGAImageCodec", taking the extensions "TGA", "tga", "Tga".
    TGAImageCodec();

    // Name of the internal module whose "CreateCodec" makes this codec.
    static constexpr const char* kModuleName = "TGAImageCodec";

protected:
    int32_t Decode(const uint8_t* data, int32_t size, Image& image) override;
    // Any format, a width and height of 1..65535 and pixels when the
    // format has any; else 3.
    int32_t Encode(Image& image, ByteBlock& out) override;
};

}  // namespace zel
