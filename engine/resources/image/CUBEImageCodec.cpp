#include "engine/resources/image/CUBEImageCodec.h"

#include <new>

#include "engine/core/Status.h"
#include "engine/resources/VolumeImage.h"
#include "engine/resources/image/CubeFormat.h"

namespace zel {

CUBEImageCodec::CUBEImageCodec() : BufferedImageCodec(String(kModuleName)) {
    AddExtensions({"CUBE", "cube", "Cube"});
}

int32_t CUBEImageCodec::Decode(const uint8_t* data, int32_t size, Image& image) {
    VolumeImage* volume = CastTo<VolumeImage>(&image);
    if (volume == nullptr) return kInvalidArgument;
    ImagePixels pixels;
    int32_t status = CubeFormat::Decode(data, size, pixels);
    if (status != kOk) return status;
    volume->SetDepth(CubeFormat::kFaces);
    pixels.MoveInto(*volume);
    return kOk;
}

int32_t CUBEImageCodec::Encode(Image& image, ByteBlock& out) {
    VolumeImage* volume = CastTo<VolumeImage>(&image);
    if (volume == nullptr || volume->GetDepth() != CubeFormat::kFaces) return kFailed;
    return CubeFormat::Encode(volume->GetData(), volume->GetWidth(), volume->GetHeight(), volume->GetFormat(), out);
}

}  // namespace zel
