#include "engine/resources/CUBEImageCodec.h"

#include <new>

#include "engine/core/Status.h"
#include "engine/resources/InternalModule.h"
#include "engine/resources/InternalModuleList.h"
#include "engine/resources/VolumeImage.h"
#include "engine/resources/image/CubeFormat.h"

namespace zel {

CUBEImageCodec::CUBEImageCodec() : BufferedImageCodec(String("CUBEImageCodec")) {
    AddExtensions({"CUBE", "cube", "Cube"});
}

int32_t CUBEImageCodec::Create(Codec** codec) {
    CUBEImageCodec* created = new (std::nothrow) CUBEImageCodec();
    if (created == nullptr) return kOutOfMemory;
    if (created->GetExtensionCount() != 3) {
        delete created;
        return kOutOfMemory;
    }
    *codec = created;
    return kOk;
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

int32_t RegisterCUBEImageCodecModule() { return RegisterInternalCodecModule("CUBEImageCodec", &CUBEImageCodec::Create); }

}  // namespace zel
