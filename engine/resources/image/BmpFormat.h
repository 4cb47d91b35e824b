// Windows BMP: the 14-byte file header, an information header of at least
// 40 bytes, then uncompressed rows padded to multiples of 4 bytes, bottom
// row first (top first when the height is negative). 24-bit pixels are
// B, G, R; 8-bit ones are read as grey levels (the palette is skipped).
#pragma once

#include <cstdint>

#include "engine/resources/image/ByteBlock.h"
#include "engine/resources/image/ImagePixels.h"

namespace zel {

class BmpFormat {
public:
    static constexpr int32_t kFileHeaderSize = 14;
    static constexpr int32_t kInfoHeaderSize = 40;
    static constexpr int32_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
    // Resolution the writer records: 96 dots per inch.
    static constexpr int32_t kPixelsPerMetre = 3780;

    // A whole BMP file: 8 bits per pixel give format 2, 24 give format 0.
    // kOk; kFailed for a missing "BM", a short or unknown information
    // header, compression, another depth, a zero or out-of-range size, a
    // pixel offset inside the headers or rows beyond the end of the data
    // (the last row may lack its padding); kOutOfMemory.
    static int32_t Decode(const uint8_t* data, int32_t size, ImagePixels& pixels);

    // The file of a format 0 or 2 image, rows bottom first and padded, an
    // 8-bit image without a palette. kOk; kInvalidArgument for another
    // format, a size below 1 or a file beyond int32, or no pixels;
    // kOutOfMemory.
    static int32_t Encode(const uint8_t* pixels, int32_t width, int32_t height, int32_t format, ByteBlock& out);

    // Bytes of one row in the file: rounded up to a multiple of 4.
    static int64_t PaddedRowBytes(int64_t rowBytes) { return (rowBytes + 3) & ~int64_t{3}; }
};

}  // namespace zel
