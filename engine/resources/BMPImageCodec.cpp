#include "engine/resources/BMPImageCodec.h"

#include <new>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/InternalModule.h"
#include "engine/resources/InternalModuleList.h"
#include "engine/resources/image/BmpFormat.h"

namespace zel {

BMPImageCodec::BMPImageCodec() : BufferedImageCodec(String("BMPImageCodec")) { AddExtensions({"BMP", "bmp", "Bmp"}); }

int32_t BMPImageCodec::Create(Codec** codec) {
    BMPImageCodec* created = new (std::nothrow) BMPImageCodec();
    if (created == nullptr) return kOutOfMemory;
    if (created->GetExtensionCount() != 3) {
        delete created;
        return kOutOfMemory;
    }
    *codec = created;
    return kOk;
}

int32_t BMPImageCodec::Decode(const uint8_t* data, int32_t size, Image& image) {
    ImagePixels pixels;
    int32_t status = BmpFormat::Decode(data, size, pixels);
    if (status == kOk) pixels.MoveInto(image);
    return status;
}

int32_t BMPImageCodec::Encode(Image& image, ByteBlock& out) {
    return BmpFormat::Encode(image.GetData(), image.GetWidth(), image.GetHeight(), image.GetFormat(), out);
}

int32_t RegisterBMPImageCodecModule() { return RegisterInternalCodecModule("BMPImageCodec", &BMPImageCodec::Create); }

}  // namespace zel
