#include "engine/resources/JPGImageCodec.h"

#include <new>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/InternalModule.h"
#include "engine/resources/InternalModuleList.h"
#include "engine/resources/image/JpegFormat.h"

namespace zel {

JPGImageCodec::JPGImageCodec() : BufferedImageCodec(String("JPGImageCodec")) { AddExtensions({"JPG", "jpg", "Jpg", "JPEG", "jpeg", "Jpeg"}); }

int32_t JPGImageCodec::Create(Codec** codec) {
    JPGImageCodec* created = new (std::nothrow) JPGImageCodec();
    if (created == nullptr) return kOutOfMemory;
    if (created->GetExtensionCount() != 6) {
        delete created;
        return kOutOfMemory;
    }
    *codec = created;
    return kOk;
}

int32_t JPGImageCodec::Decode(const uint8_t* data, int32_t size, Image& image) {
    ImagePixels pixels;
    int32_t status = JpegFormat::Decode(data, size, pixels);
    if (status == kOk) pixels.MoveInto(image);
    return status;
}

int32_t JPGImageCodec::Encode(Image& image, ByteBlock& out) {
    return JpegFormat::Encode(image.GetData(), image.GetWidth(), image.GetHeight(), image.GetFormat(), out);
}

int32_t RegisterJPGImageCodecModule() { return RegisterInternalCodecModule("JPGImageCodec", &JPGImageCodec::Create); }

}  // namespace zel
