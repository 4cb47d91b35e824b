#include "engine/render/texture/NormalmapTextureController.h"

#include <cmath>
#include <new>

#include "engine/core/Stream.h"
#include "engine/render/texture/Texture.h"

namespace zel {

ZEL_DEFINE_RTTI(NormalmapTextureController, Controller)

void NormalmapTextureController::BuildNormals(const uint8_t* heights, int32_t width, int32_t height, float bump,
                                              bool alpha, uint8_t* out) {
    const int32_t stride = alpha ? 4 : 3;
    for (int32_t i = 0; i < height; ++i) {
        for (int32_t j = 0; j < width; ++j) {
            const float c = heights[i * width + j] / 255.0f;
            const float right = heights[i * width + (j + 1) % width] / 255.0f;
            const float below = heights[((i + 1) % height) * width + j] / 255.0f;
            const float dx = bump * (c - right);
            const float dy = bump * (c - below);
            const float s = 1.0f / std::sqrt(dx * dx + dy * dy + 1.0f);
            uint8_t* pixel = out + (static_cast<int64_t>(i) * width + j) * stride;
            pixel[0] = static_cast<uint8_t>(static_cast<int32_t>(dx * s * 127.0f + 128.0f));
            pixel[1] = static_cast<uint8_t>(static_cast<int32_t>(dy * s * 127.0f + 128.0f));
            pixel[2] = static_cast<uint8_t>(static_cast<int32_t>(s * 127.0f + 128.0f));
            if (alpha) pixel[3] = static_cast<uint8_t>(static_cast<int32_t>(c * 255.0f));
        }
    }
}

void NormalmapTextureController::Update(double) {
    if (done_ || !IsActive()) return;
    done_ = true;
    Texture* texture = CastTo<Texture>(GetOwner());
    Image* image = texture != nullptr ? texture->GetImage() : nullptr;
    if (image == nullptr || image->GetFormat() != Image::kFormatA8 || image->GetData() == nullptr) return;
    const int32_t width = image->GetWidth(), height = image->GetHeight();
    if (width <= 0 || height <= 0) return;
    const int32_t format = alpha ? Image::kFormatRGBA : Image::kFormatRGB;
    const int64_t size = static_cast<int64_t>(width) * height * Image::GetBytesPerPixel(format);
    if (size > INT32_MAX) return;
    uint8_t* pixels = new (std::nothrow) uint8_t[size];
    if (pixels == nullptr) return;
    BuildNormals(image->GetData(), width, height, bumpCoefficient, alpha, pixels);
    image->SetData(pixels);
    image->SetFormat(format);
    texture->MarkDirty();
}

int32_t NormalmapTextureController::Save(Stream& stream) {
    if (Controller::Save(stream) != 0) return SaveParentFailed();
    stream.WriteFloat(bumpCoefficient);
    stream.WriteBool(alpha);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно сохранить коэффициент бампа. Имя[%s] ID[%d]");
    return kOk;
}

int32_t NormalmapTextureController::Load(Stream& stream) {
    if (Controller::Load(stream) != 0) return LoadParentFailed();
    stream.ReadFloat(bumpCoefficient);
    stream.ReadBool(alpha);
    if (stream.GetErrorState() != 0) return FailWithIdName("Невозможно загрузить коэффициент бампа. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
