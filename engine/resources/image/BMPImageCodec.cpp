#include "engine/resources/image/BMPImageCodec.h"

#include <new>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/BmpFormat.h"

namespace zel {

BMPImageCodec::BMPImageCodec() : BufferedImageCodec(String(kModuleName)) { AddExtensions({"BMP", "bmp", "Bmp"}); }

int32_t BMPImageCodec::Decode(const uint8_t* data, int32_t size, Image& image) {
    ImagePixels pixels;
    int32_t status = BmpFormat::Decode(data, size, pixels);
    if (status == kOk) pixels.MoveInto(image);
    return status;
}

int32_t BMPImageCodec::Encode(Image& image, ByteBlock& out) {
    return BmpFormat::Encode(image.GetData(), image.GetWidth(), image.GetHeight(), image.GetFormat(), out);
}

}  // namespace zel
