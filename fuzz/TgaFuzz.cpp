// Arbitrary bytes as a TGA file. A decoded image must survive the writer
// and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/resources/image/TgaFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) return 0;
    zel::ImagePixels pixels;
    if (zel::TgaFormat::Decode(data, int32_t(size), pixels) != 0) return 0;
    zel::ByteBlock file;
    if (zel::TgaFormat::Encode(pixels.GetData(), pixels.GetWidth(), pixels.GetHeight(), pixels.GetFormat(), file) != 0)
        std::abort();
    zel::ImagePixels again;
    if (zel::TgaFormat::Decode(file.Data(), file.Size(), again) != 0 || again.GetSize() != pixels.GetSize() ||
        std::memcmp(again.GetData(), pixels.GetData(), size_t(pixels.GetSize())) != 0)
        std::abort();
    return 0;
}
