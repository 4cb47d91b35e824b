#include "engine/resources/image/PixelRows.h"

#include <cstddef>
#include <algorithm>
#include <cstring>

namespace zel {

namespace {

// Four-byte pixels as 32-bit words, which the compiler turns into vector
// shuffles.
void CopySwapped4(uint8_t* destination, const uint8_t* source, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        uint32_t pixel;
        std::memcpy(&pixel, source + i * 4, 4);
        pixel = (pixel & 0xFF00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
        std::memcpy(destination + i * 4, &pixel, 4);
    }
}

void CopySwapped3(uint8_t* destination, const uint8_t* source, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        const uint8_t* s = source + i * 3;
        uint8_t* d = destination + i * 3;
        uint8_t first = s[0];
        d[0] = s[2];
        d[1] = s[1];
        d[2] = first;
    }
}

}  // namespace

void PixelRows::CopySwapped(uint8_t* destination, const uint8_t* source, int64_t count, int32_t bytesPerPixel) {
    if (bytesPerPixel == 4)
        CopySwapped4(destination, source, count);
    else if (bytesPerPixel == 3)
        CopySwapped3(destination, source, count);
    else if (destination != source && count > 0 && bytesPerPixel > 0)
        std::memcpy(destination, source, static_cast<size_t>(count * bytesPerPixel));
}

void PixelRows::ReverseRows(uint8_t* data, int64_t rowBytes, int32_t rows) {
    for (int32_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(data + top * rowBytes, data + (top + 1) * rowBytes, data + bottom * rowBytes);
}

}  // namespace zel
