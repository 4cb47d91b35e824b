// "JPGImageCodec": JPEG files through libjpeg; greyscale files load as
// format 2, colour ones as format 0, and both are written back the same way.
#pragma once

#include "engine/resources/image/BufferedImageCodec.h"

namespace zel {

class JPGImageCodec : public BufferedImageCodec {
public:
    // Named "JPGImageCodec", taking the extensions "JPG", "jpg", "Jpg", "JPEG", "jpeg", "Jpeg".
    JPGImageCodec();

    // Name of the internal module whose "CreateCodec" makes this codec.
    static constexpr const char* kModuleName = "JPGImageCodec";

protected:
    int32_t Decode(const uint8_t* data, int32_t size, Image& image) override;
    // Formats 0 and 2 only; else 3. Library errors are logged and give 1.
    int32_t Encode(Image& image, ByteBlock& out) override;
};

}  // namespace zel
