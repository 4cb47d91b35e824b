// Arbitrary bytes as a JPEG file: every library error must come back as a
// status with nothing leaked; a decoded image must compress again and
// decode to the same size and format.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/resources/image/JpegFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) return 0;
    zel::ImagePixels pixels;
    if (zel::JpegFormat::Decode(data, int32_t(size), pixels) != 0) return 0;
    // Re-encoding large pictures would only slow the search down.
    if (pixels.GetSize() > (1 << 20)) return 0;
    zel::ByteBlock file;
    if (zel::JpegFormat::Encode(pixels.GetData(), pixels.GetWidth(), pixels.GetHeight(), pixels.GetFormat(), file) != 0)
        std::abort();
    zel::ImagePixels again;
    if (zel::JpegFormat::Decode(file.Data(), file.Size(), again) != 0 || again.GetWidth() != pixels.GetWidth() ||
        again.GetHeight() != pixels.GetHeight() || again.GetFormat() != pixels.GetFormat())
        std::abort();
    return 0;
}
