#include "engine/render/water/FresnelTextureController.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/texture/Texture.h"

namespace zel {

ZEL_DEFINE_RTTI(FresnelTextureController, Controller)

uint8_t FresnelTextureController::Value(float indexA, float indexB, int32_t column, int32_t width) {
    const float sum = indexA + indexB;
    const float ratio = sum != 0.0f ? (indexA - indexB) / sum : 0.0f;
    const float r0 = ratio * ratio;
    const float t = 1.0f - static_cast<float>(column) / static_cast<float>(width);
    const float t2 = t * t;
    const float value = (r0 + (1.0f - r0) * t2 * t2 * t) * 255.0f;
    // Indices far apart would leave 0..255; keep the byte in range.
    return static_cast<uint8_t>(value < 0.0f ? 0 : value > 255.0f ? 255 : static_cast<int32_t>(value));
}

void FresnelTextureController::Update(double) {
    if (done_ || !IsActive()) return;
    done_ = true;
    Texture* texture = CastTo<Texture>(GetOwner());
    Image* image = texture != nullptr ? texture->GetImage() : nullptr;
    if (image == nullptr) return;
    const int32_t width = image->GetWidth(), height = image->GetHeight();
    const int32_t bytes = Image::GetBytesPerPixel(image->GetFormat());
    const int32_t size = image->GetDataSize();
    if (width <= 0 || height <= 0 || bytes <= 0 || size <= 0) return;
    uint8_t* pixels = new (std::nothrow) uint8_t[size];
    if (pixels == nullptr) return;
    for (int32_t j = 0; j < width; ++j) {
        const uint8_t value = Value(indexA, indexB, j, width);
        for (int32_t i = 0; i < height; ++i)
            for (int32_t b = 0; b < bytes; ++b) pixels[(static_cast<int64_t>(i) * width + j) * bytes + b] = value;
    }
    image->SetData(pixels);
    texture->MarkDirty();
}

int32_t FresnelTextureController::Save(Stream& stream) {
    if (Controller::Save(stream) != 0) return SaveParentFailed();
    stream.WriteFloat(indexA);
    stream.WriteFloat(indexB);
    if (stream.GetErrorState() != 0)
        return FailWithNameId("Невозможно сохранить коэффициенты френеля. Имя[%s] ID[%d]");
    return kOk;
}

int32_t FresnelTextureController::Load(Stream& stream) {
    if (Controller::Load(stream) != 0) return LoadParentFailed();
    stream.ReadFloat(indexA);
    stream.ReadFloat(indexB);
    if (stream.GetErrorState() != 0)
        return FailWithIdName("Невозможно загрузить коэффициенты френеля. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
