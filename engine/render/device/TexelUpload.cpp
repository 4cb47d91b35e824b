#include "engine/render/device/TexelUpload.h"

#include <cstring>

#include "engine/resources/Image.h"

namespace zel {

namespace {

void CopyRow(const uint8_t* source, uint8_t* target, int32_t width, int32_t imageFormat) {
    if (imageFormat == Image::kFormatA8) {
        std::memcpy(target, source, static_cast<size_t>(width));
        return;
    }
    const int32_t step = imageFormat == Image::kFormatRGB ? 3 : 4;
    for (int32_t x = 0; x < width; ++x, source += step, target += 4) {
        target[0] = source[2];
        target[1] = source[1];
        target[2] = source[0];
        target[3] = step == 4 ? source[3] : 255;
    }
}

}  // namespace

int32_t DeviceTexelSize(int32_t imageFormat) {
    switch (imageFormat) {
        case Image::kFormatRGB:
        case Image::kFormatRGBA:
            return 4;
        case Image::kFormatA8:
            return 1;
        default:
            return 0;
    }
}

bool CopyImageToLevel(const uint8_t* image, int32_t width, int32_t height, int32_t imageFormat, uint8_t* level,
                      int32_t pitch) {
    if (DeviceTexelSize(imageFormat) == 0) return false;
    const int32_t rowBytes = width * Image::GetBytesPerPixel(imageFormat);
    for (int32_t row = 0; row < height; ++row)
        CopyRow(image + static_cast<size_t>(row) * rowBytes, level + static_cast<size_t>(height - 1 - row) * pitch,
                width, imageFormat);
    return true;
}

}  // namespace zel
