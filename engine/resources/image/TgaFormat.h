// Truevision TGA: an 18-byte header (identifier length, image type, colour
// map fields, origin, 16-bit width and height, bits per pixel, descriptor),
// the identifier, then the pixels in B, G, R(, A) order, uncompressed
// (type 2) or run-length encoded (type 10). Only 24- and 32-bit true-colour
// images are read. Rows run bottom first unless descriptor bit 0x20 marks a
// top-left origin; both are converted to the engine's layout.
#pragma once

#include <cstdint>

#include "engine/resources/image/ByteBlock.h"
#include "engine/resources/image/ImageByteReader.h"
#include "engine/resources/image/ImagePixels.h"

namespace zel {

class TgaFormat {
public:
    static constexpr int32_t kHeaderSize = 18;
    static constexpr uint8_t kTypeTrueColor = 2;
    static constexpr uint8_t kTypeRunLength = 10;
    static constexpr uint8_t kTopLeftOrigin = 0x20;
    // What the writer puts in the descriptor: top-left origin, 8 attribute
    // bits.
    static constexpr uint8_t kWrittenDescriptor = 0x28;

    struct Header {
        uint8_t idLength = 0;
        uint8_t imageType = 0;
        uint8_t bitsPerPixel = 0;
        uint8_t descriptor = 0;
        int32_t width = 0;
        int32_t height = 0;
        int32_t format = 0;         // the engine's pixel format code
        int32_t bytesPerPixel = 0;  // 3 or 4
    };

    // Reads the header and skips the identifier when it lies inside the
    // data (otherwise the pixels are taken to follow the header). kOk;
    // kFailed for a truncated header, a depth other than 24 or 32 bits, an
    // image type other than 2 or 10, or a zero width or height.
    static int32_t ReadHeader(ImageByteReader& reader, Header& header);

    // The fewest bytes the pixel data of such an image can occupy:
    // width * height * bytes per pixel uncompressed; run-length encoded,
    // one packet of 1 + bytes-per-pixel bytes per 128 pixels. Checked
    // against what the data holds before anything is allocated.
    static int64_t MinimumPixelBytes(const Header& header);

    // Decodes the pixels at the reader into `pixels` (width * height *
    // bytes per pixel bytes) in the engine's layout. kOk; kFailed for
    // truncated data or a run-length packet reaching past the image.
    static int32_t ReadPixels(ImageByteReader& reader, const Header& header, uint8_t* pixels);

    // A whole TGA file. kOk; kFailed for unsupported or damaged data
    // (nothing is allocated for pixels the data cannot hold); kOutOfMemory.
    static int32_t Decode(const uint8_t* data, int32_t size, ImagePixels& pixels);

    // Bytes of the file Write produces, or -1 when the image cannot be
    // written: a width or height outside 1..65535, or beyond int32 in all.
    static int64_t EncodedSize(int32_t width, int32_t height, int32_t format);
    // Writes the header (type 2, descriptor 0x28) and the rows top first
    // with bytes 0 and 2 of 3- and 4-byte pixels exchanged. `destination`
    // holds EncodedSize bytes; `pixels` holds the image's block.
    static void Write(uint8_t* destination, const uint8_t* pixels, int32_t width, int32_t height, int32_t format);
    // Write into a new block. kOk; kInvalidArgument when the image cannot
    // be written or has no pixels; kOutOfMemory.
    static int32_t Encode(const uint8_t* pixels, int32_t width, int32_t height, int32_t format, ByteBlock& out);
};

}  // namespace zel
