#include "engine/resources/image/TGAImageCodec.h"

#include <new>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/TgaFormat.h"

namespace zel {

TGAImageCodec::TGAImageCodec() : BufferedImageCodec(String(kModuleName)) { AddExtensions({"TGA", "tga", "Tga"}); }

int32_t TGAImageCodec::Decode(const uint8_t* data, int32_t size, Image& image) {
    ImagePixels pixels;
    int32_t status = TgaFormat::Decode(data, size, pixels);
    if (status == kOk) pixels.MoveInto(image);
    return status;
}

int32_t TGAImageCodec::Encode(Image& image, ByteBlock& out) {
    return TgaFormat::Encode(image.GetData(), image.GetWidth(), image.GetHeight(), image.GetFormat(), out);
}

}  // namespace zel
