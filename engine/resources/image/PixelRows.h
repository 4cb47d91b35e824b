// Row and channel conversions shared by the image formats: the files keep
// B, G, R order (TGA, BMP) and often top-first rows, the engine R, G, B and
// bottom-first rows.
#pragma once

#include <cstdint>

namespace zel {

class PixelRows {
public:
    // Copies `count` pixels of `bytesPerPixel` bytes, exchanging bytes 0
    // and 2 of each pixel of 3 or 4 bytes; other sizes are copied as they
    // are. Source and destination may be the same block but must not
    // otherwise overlap.
    static void CopySwapped(uint8_t* destination, const uint8_t* source, int64_t count, int32_t bytesPerPixel);
    // Reverses the order of `rows` rows of `rowBytes` bytes in place.
    static void ReverseRows(uint8_t* data, int64_t rowBytes, int32_t rows);
};

}  // namespace zel
