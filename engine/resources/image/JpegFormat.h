// JPEG through the IJG 6b interface of libjpeg (JPEG_LIB_VERSION 62).
// Every library error is logged as the WARNING line "%d %s" (message code,
// message text) and abandons the operation with all library state and
// blocks released; library warnings are logged the same way and decoding
// goes on (a truncated file ends as if its end-of-image marker followed).
#pragma once

#include <cstdint>

#include "engine/resources/image/ByteBlock.h"
#include "engine/resources/image/ImagePixels.h"

namespace zel {

class JpegFormat {
public:
    // Quality of written files; baseline-compatible quantisation tables.
    static constexpr int32_t kQuality = 50;
    // Output bytes allowed per input byte. Huffman-coded data spends at
    // least one bit per 8x8 block, which with any sampling gives under
    // 1400 output bytes per input byte; only degenerate arithmetic-coded
    // files reach further, and those are refused rather than allowed to
    // claim memory the file cannot fill.
    static constexpr int64_t kMaxExpansion = 2048;
    // Progressive files with more scans are refused: each scan may revisit
    // the whole image.
    static constexpr int32_t kMaxScans = 256;

    // A whole JPEG file, decoded from memory: one component gives format 2,
    // three (YCbCr or RGB) format 0, both with the last scanline as the
    // first row. kOk; kFailed for library errors, other colour spaces, too
    // many scans or an image larger than the expansion limit allows;
    // kOutOfMemory for the pixel block.
    static int32_t Decode(const uint8_t* data, int32_t size, ImagePixels& pixels);

    // Compresses a format 0 image as three-component RGB and a format 2
    // image as one-component greyscale, quality kQuality, into memory, the
    // image's top row first. kOk; kInvalidArgument for another format, a
    // size below 1 or no pixels; kFailed for library errors; kOutOfMemory.
    static int32_t Encode(const uint8_t* pixels, int32_t width, int32_t height, int32_t format, ByteBlock& out);
};

}  // namespace zel
