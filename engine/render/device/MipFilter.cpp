#include "engine/render/device/MipFilter.h"

#include "engine/core/Status.h"
#include "engine/resources/Image.h"

namespace zel {

namespace {

bool Valid(const MipSurface& surface, int32_t channels) {
    if (surface.data == nullptr || surface.width < 1 || surface.height < 1 || surface.depth < 1) return false;
    int64_t row = int64_t(surface.width) * channels;
    return surface.rowPitch >= row && (surface.depth == 1 || surface.slicePitch >= int64_t(surface.rowPitch) * surface.height);
}

// The mean of the texels of `above` under one texel of `below`.
void Average(const MipSurface& above, int32_t x, int32_t y, int32_t z, int32_t channels, uint8_t* out) {
    int32_t spanX = above.width > 1 ? 2 : 1;
    int32_t spanY = above.height > 1 ? 2 : 1;
    int32_t spanZ = above.depth > 1 ? 2 : 1;
    int32_t count = spanX * spanY * spanZ;
    for (int32_t c = 0; c < channels; ++c) {
        int32_t sum = 0;
        for (int32_t k = 0; k < spanZ; ++k)
            for (int32_t j = 0; j < spanY; ++j) {
                const uint8_t* row = above.data + int64_t(z * spanZ + k) * above.slicePitch +
                                     int64_t(y * spanY + j) * above.rowPitch;
                for (int32_t i = 0; i < spanX; ++i) sum += row[int64_t(x * spanX + i) * channels + c];
            }
        out[c] = uint8_t((sum + count / 2) / count);
    }
}

}  // namespace

int32_t MipFilter::LevelCount(int32_t width, int32_t height, int32_t depth) {
    int32_t levels = 1;
    while (width > 1 || height > 1 || depth > 1) {
        width = NextSize(width);
        height = NextSize(height);
        depth = NextSize(depth);
        ++levels;
    }
    return levels;
}

int32_t MipFilter::ChannelsOf(int32_t imageFormat) {
    bool filtered = imageFormat == Image::kFormatRGB || imageFormat == Image::kFormatRGBA ||
                    imageFormat == Image::kFormatA8;
    return filtered ? Image::GetBytesPerPixel(imageFormat) : 0;
}

int32_t MipFilter::Downsample(const MipSurface& above, const MipSurface& below, int32_t channels) {
    if (channels < 1 || channels > 4 || !Valid(above, channels) || !Valid(below, channels)) return kInvalidArgument;
    if (below.width != NextSize(above.width) || below.height != NextSize(above.height) ||
        below.depth != NextSize(above.depth))
        return kInvalidArgument;
    for (int32_t z = 0; z < below.depth; ++z)
        for (int32_t y = 0; y < below.height; ++y) {
            uint8_t* row = below.data + int64_t(z) * below.slicePitch + int64_t(y) * below.rowPitch;
            for (int32_t x = 0; x < below.width; ++x) Average(above, x, y, z, channels, row + int64_t(x) * channels);
        }
    return kOk;
}

}  // namespace zel
