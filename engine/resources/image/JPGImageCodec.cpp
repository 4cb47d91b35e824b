#include "engine/resources/image/JPGImageCodec.h"

#include <new>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/JpegFormat.h"

namespace zel {

JPGImageCodec::JPGImageCodec() : BufferedImageCodec(String(kModuleName)) { AddExtensions({"JPG", "jpg", "Jpg", "JPEG", "jpeg", "Jpeg"}); }

int32_t JPGImageCodec::Decode(const uint8_t* data, int32_t size, Image& image) {
    ImagePixels pixels;
    int32_t status = JpegFormat::Decode(data, size, pixels);
    if (status == kOk) pixels.MoveInto(image);
    return status;
}

int32_t JPGImageCodec::Encode(Image& image, ByteBlock& out) {
    return JpegFormat::Encode(image.GetData(), image.GetWidth(), image.GetHeight(), image.GetFormat(), out);
}

}  // namespace zel
