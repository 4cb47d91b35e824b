#include "engine/resources/image/TgaFormat.h"

#include <cstring>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/PixelRows.h"

namespace zel {

namespace {

constexpr int32_t kMaxRunPixels = 128;

// Repeats one pixel, already in the engine's order, `count` times.
void FillPixel(uint8_t* destination, const uint8_t* pixel, int64_t count, int32_t bytesPerPixel) {
    if (bytesPerPixel == 4) {
        uint32_t value;
        std::memcpy(&value, pixel, 4);
        for (int64_t i = 0; i < count; ++i) std::memcpy(destination + i * 4, &value, 4);
    } else {
        for (int64_t i = 0; i < count; ++i) std::memcpy(destination + i * bytesPerPixel, pixel, bytesPerPixel);
    }
}

int32_t ReadRunLength(ImageByteReader& reader, const TgaFormat::Header& header, uint8_t* pixels) {
    const int32_t bpp = header.bytesPerPixel;
    const int64_t total = int64_t{header.width} * header.height;
    for (int64_t done = 0; done < total;) {
        uint8_t packet;
        if (!reader.ReadUInt8(packet)) return kFailed;
        int64_t count = (packet & 0x7F) + 1;
        if (count > total - done) return kFailed;
        uint8_t* destination = pixels + done * bpp;
        if ((packet & 0x80) != 0) {
            const uint8_t* pixel = reader.Take(bpp);
            if (pixel == nullptr) return kFailed;
            uint8_t converted[4];
            PixelRows::CopySwapped(converted, pixel, 1, bpp);
            FillPixel(destination, converted, count, bpp);
        } else {
            const uint8_t* source = reader.Take(count * bpp);
            if (source == nullptr) return kFailed;
            PixelRows::CopySwapped(destination, source, count, bpp);
        }
        done += count;
    }
    return kOk;
}

int32_t ReadUncompressed(ImageByteReader& reader, const TgaFormat::Header& header, uint8_t* pixels) {
    const int64_t rowBytes = int64_t{header.width} * header.bytesPerPixel;
    const uint8_t* source = reader.Take(rowBytes * header.height);
    if (source == nullptr) return kFailed;
    if ((header.descriptor & TgaFormat::kTopLeftOrigin) == 0) {
        PixelRows::CopySwapped(pixels, source, int64_t{header.width} * header.height, header.bytesPerPixel);
        return kOk;
    }
    for (int32_t row = 0; row < header.height; ++row)
        PixelRows::CopySwapped(pixels + (header.height - 1 - row) * rowBytes, source + row * rowBytes, header.width,
                               header.bytesPerPixel);
    return kOk;
}

}  // namespace

int32_t TgaFormat::ReadHeader(ImageByteReader& reader, Header& header) {
    const uint8_t* bytes = reader.Take(kHeaderSize);
    if (bytes == nullptr) return kFailed;
    header.idLength = bytes[0];
    header.imageType = bytes[2];
    header.width = bytes[12] | (bytes[13] << 8);
    header.height = bytes[14] | (bytes[15] << 8);
    header.bitsPerPixel = bytes[16];
    header.descriptor = bytes[17];
    if (header.bitsPerPixel == 24)
        header.format = Image::kFormatRGB;
    else if (header.bitsPerPixel == 32)
        header.format = Image::kFormatRGBA;
    else
        return kFailed;
    header.bytesPerPixel = header.bitsPerPixel / 8;
    if (header.imageType != kTypeTrueColor && header.imageType != kTypeRunLength) return kFailed;
    if (header.width == 0 || header.height == 0) return kFailed;
    reader.Skip(header.idLength);
    return kOk;
}

int64_t TgaFormat::MinimumPixelBytes(const Header& header) {
    int64_t pixels = int64_t{header.width} * header.height;
    if (header.imageType == kTypeRunLength)
        return (pixels + kMaxRunPixels - 1) / kMaxRunPixels * (1 + header.bytesPerPixel);
    return pixels * header.bytesPerPixel;
}

int32_t TgaFormat::ReadPixels(ImageByteReader& reader, const Header& header, uint8_t* pixels) {
    if (header.imageType != kTypeRunLength) return ReadUncompressed(reader, header, pixels);
    if (ReadRunLength(reader, header, pixels) != kOk) return kFailed;
    if ((header.descriptor & kTopLeftOrigin) != 0)
        PixelRows::ReverseRows(pixels, int64_t{header.width} * header.bytesPerPixel, header.height);
    return kOk;
}

int32_t TgaFormat::Decode(const uint8_t* data, int32_t size, ImagePixels& pixels) {
    ImageByteReader reader(data, size);
    Header header;
    if (ReadHeader(reader, header) != kOk) return kFailed;
    if (reader.GetRemaining() < MinimumPixelBytes(header)) return kFailed;
    if (pixels.Allocate(header.width, header.height, 1, header.format) != kOk) return kOutOfMemory;
    return ReadPixels(reader, header, pixels.GetData());
}

int64_t TgaFormat::EncodedSize(int32_t width, int32_t height, int32_t format) {
    if (width < 1 || width > 0xFFFF || height < 1 || height > 0xFFFF) return -1;
    int64_t size = kHeaderSize + int64_t{width} * height * Image::GetBytesPerPixel(format);
    return size > INT32_MAX ? -1 : size;
}

void TgaFormat::Write(uint8_t* destination, const uint8_t* pixels, int32_t width, int32_t height, int32_t format) {
    const int32_t bpp = Image::GetBytesPerPixel(format);
    std::memset(destination, 0, kHeaderSize);
    destination[2] = kTypeTrueColor;
    destination[12] = static_cast<uint8_t>(width);
    destination[13] = static_cast<uint8_t>(width >> 8);
    destination[14] = static_cast<uint8_t>(height);
    destination[15] = static_cast<uint8_t>(height >> 8);
    destination[16] = static_cast<uint8_t>(8 * bpp);
    destination[17] = kWrittenDescriptor;
    const int64_t rowBytes = int64_t{width} * bpp;
    uint8_t* rows = destination + kHeaderSize;
    for (int32_t row = 0; row < height; ++row)
        PixelRows::CopySwapped(rows + row * rowBytes, pixels + (height - 1 - row) * rowBytes, width, bpp);
}

int32_t TgaFormat::Encode(const uint8_t* pixels, int32_t width, int32_t height, int32_t format, ByteBlock& out) {
    int64_t size = EncodedSize(width, height, format);
    if (size < 0 || (pixels == nullptr && size > kHeaderSize)) return kInvalidArgument;
    if (out.Allocate(size) != kOk) return kOutOfMemory;
    Write(out.Data(), pixels, width, height, format);
    return kOk;
}

}  // namespace zel
