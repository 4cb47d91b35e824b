#include "engine/resources/image/BmpFormat.h"

#include <cstddef>
#include <cstring>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/ImageByteReader.h"
#include "engine/resources/image/PixelRows.h"

namespace zel {

namespace {

constexpr uint16_t kMagic = 0x4D42;  // "BM"

struct BmpHeader {
    uint32_t pixelOffset = 0;
    uint32_t infoSize = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = 0;
};

bool ReadHeaders(ImageByteReader& reader, BmpHeader& header) {
    uint16_t magic, planes, reserved;
    uint32_t fileSize, ignored;
    return reader.ReadUInt16(magic) && magic == kMagic && reader.ReadUInt32(fileSize) &&
           reader.ReadUInt16(reserved) && reader.ReadUInt16(reserved) && reader.ReadUInt32(header.pixelOffset) &&
           reader.ReadUInt32(header.infoSize) && reader.ReadInt32(header.width) && reader.ReadInt32(header.height) &&
           reader.ReadUInt16(planes) && reader.ReadUInt16(header.bitsPerPixel) &&
           reader.ReadUInt32(header.compression) && reader.ReadUInt32(ignored);
}

void PutUInt16(uint8_t*& out, uint16_t value) {
    std::memcpy(out, &value, 2);
    out += 2;
}

void PutUInt32(uint8_t*& out, uint32_t value) {
    std::memcpy(out, &value, 4);
    out += 4;
}

}  // namespace

int32_t BmpFormat::Decode(const uint8_t* data, int32_t size, ImagePixels& pixels) {
    ImageByteReader reader(data, size);
    BmpHeader header;
    if (!ReadHeaders(reader, header) || header.infoSize < kInfoHeaderSize || header.compression != 0) return kFailed;
    int32_t format;
    if (header.bitsPerPixel == 8)
        format = Image::kFormatA8;
    else if (header.bitsPerPixel == 24)
        format = Image::kFormatRGB;
    else
        return kFailed;
    // A negative height marks rows stored top first; INT32_MIN has no
    // positive counterpart.
    const bool topFirst = header.height < 0;
    if (header.width <= 0 || header.height == 0 || header.height == INT32_MIN) return kFailed;
    const int32_t height = topFirst ? -header.height : header.height;
    if (header.pixelOffset < kHeadersSize || header.pixelOffset > static_cast<uint32_t>(size)) return kFailed;

    const int32_t bpp = header.bitsPerPixel / 8;
    const int64_t rowBytes = int64_t{header.width} * bpp;
    const int64_t stride = PaddedRowBytes(rowBytes);
    // One row must fit in the file before the rows' total is computed: that
    // bounds the product below 2^62.
    if (rowBytes > size || stride * (height - 1) + rowBytes > size - int64_t{header.pixelOffset}) return kFailed;
    if (pixels.Allocate(header.width, height, 1, format) != kOk) return kOutOfMemory;

    const uint8_t* rows = data + header.pixelOffset;
    for (int32_t row = 0; row < height; ++row) {
        uint8_t* destination = pixels.GetData() + (topFirst ? height - 1 - row : row) * rowBytes;
        PixelRows::CopySwapped(destination, rows + row * stride, header.width, bpp);
    }
    return kOk;
}

int32_t BmpFormat::Encode(const uint8_t* pixels, int32_t width, int32_t height, int32_t format, ByteBlock& out) {
    if ((format != Image::kFormatRGB && format != Image::kFormatA8) || width < 1 || height < 1 || pixels == nullptr)
        return kInvalidArgument;
    const int32_t bpp = Image::GetBytesPerPixel(format);
    const int64_t rowBytes = int64_t{width} * bpp;
    const int64_t stride = PaddedRowBytes(rowBytes);
    const int64_t imageBytes = stride * height;
    if (kHeadersSize + imageBytes > INT32_MAX) return kInvalidArgument;
    if (out.Allocate(kHeadersSize + imageBytes) != kOk) return kOutOfMemory;

    uint8_t* cursor = out.Data();
    PutUInt16(cursor, kMagic);
    PutUInt32(cursor, static_cast<uint32_t>(kHeadersSize + imageBytes));
    PutUInt16(cursor, 0);
    PutUInt16(cursor, 0);
    PutUInt32(cursor, kHeadersSize);
    PutUInt32(cursor, kInfoHeaderSize);
    PutUInt32(cursor, static_cast<uint32_t>(width));
    PutUInt32(cursor, static_cast<uint32_t>(height));
    PutUInt16(cursor, 1);
    PutUInt16(cursor, static_cast<uint16_t>(8 * bpp));
    PutUInt32(cursor, 0);
    PutUInt32(cursor, static_cast<uint32_t>(imageBytes));
    PutUInt32(cursor, kPixelsPerMetre);
    PutUInt32(cursor, kPixelsPerMetre);
    PutUInt32(cursor, 0);
    PutUInt32(cursor, 0);
    for (int32_t row = 0; row < height; ++row, cursor += stride) {
        PixelRows::CopySwapped(cursor, pixels + row * rowBytes, width, bpp);
        std::memset(cursor + rowBytes, 0, static_cast<size_t>(stride - rowBytes));
    }
    return kOk;
}

}  // namespace zel
