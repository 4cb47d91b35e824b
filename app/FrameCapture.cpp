#include "app/FrameCapture.h"

#include <cstdio>
#include <new>
#include <vector>

#include "engine/core/Pointer.h"
#include "engine/core/Status.h"
#include "engine/render/Renderer.h"
#include "engine/resources/Image.h"

namespace zel {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The file header (14 bytes) and the 40-byte information header of an
// uncompressed 24-bit picture stored bottom-up.
std::vector<uint8_t> BmpHeaders(uint32_t width, uint32_t height, uint32_t rowBytes) {
    constexpr uint32_t kHeaders = 14 + 40;
    std::vector<uint8_t> out;
    Put16(out, 0x4D42);  // "BM"
    Put32(out, kHeaders + rowBytes * height);
    Put32(out, 0);  // reserved
    Put32(out, kHeaders);
    Put32(out, 40);
    Put32(out, width);
    Put32(out, height);  // positive: bottom-up
    Put16(out, 1);       // planes
    Put16(out, 24);      // bits per pixel
    Put32(out, 0);       // no compression
    Put32(out, rowBytes * height);
    for (int i = 0; i < 4; ++i) Put32(out, 0);  // resolution and palette: unset
    return out;
}

}  // namespace

bool WriteBmp24(const Image& image, const char* path) {
    if (image.GetFormat() != Image::kFormatRGB || image.GetData() == nullptr || image.GetWidth() <= 0 ||
        image.GetHeight() <= 0)
        return false;
    const uint32_t width = static_cast<uint32_t>(image.GetWidth()), height = static_cast<uint32_t>(image.GetHeight());
    const uint32_t rowBytes = (width * 3 + 3) & ~3u;
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const std::vector<uint8_t> headers = BmpHeaders(width, height, rowBytes);
    bool written = std::fwrite(headers.data(), 1, headers.size(), out) == headers.size();
    // Rows bottom-up, each pixel blue, green, red, each row padded to four bytes.
    std::vector<uint8_t> row(rowBytes, 0);
    for (uint32_t y = height; written && y-- > 0;) {
        const uint8_t* source = image.GetData() + static_cast<size_t>(y) * width * 3;
        for (uint32_t x = 0; x < width; ++x) {
            row[x * 3] = source[x * 3 + 2];
            row[x * 3 + 1] = source[x * 3 + 1];
            row[x * 3 + 2] = source[x * 3];
        }
        written = std::fwrite(row.data(), 1, rowBytes, out) == rowBytes;
    }
    return std::fclose(out) == 0 && written;
}

bool CaptureBackBuffer(Renderer& renderer, const char* path) {
    Pointer<Image> image = new (std::nothrow) Image();
    return image != nullptr && renderer.ReadBackBuffer(*image) == kOk && WriteBmp24(*image, path);
}

}  // namespace zel
