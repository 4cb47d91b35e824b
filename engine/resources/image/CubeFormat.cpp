#include "engine/resources/image/CubeFormat.h"

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/ImageByteReader.h"
#include "engine/resources/image/TgaFormat.h"

namespace zel {

namespace {

bool SameShape(const TgaFormat::Header& a, const TgaFormat::Header& b) {
    return a.width == b.width && a.height == b.height && a.format == b.format;
}

// The least the five faces after the first can occupy: a header each and
// pixels stored the more compact way the first face's shape allows.
int64_t MinimumLaterFaces(TgaFormat::Header header) {
    header.imageType = TgaFormat::kTypeRunLength;
    int64_t runLength = TgaFormat::MinimumPixelBytes(header);
    header.imageType = TgaFormat::kTypeTrueColor;
    int64_t plain = TgaFormat::MinimumPixelBytes(header);
    return (CubeFormat::kFaces - 1) * (TgaFormat::kHeaderSize + (runLength < plain ? runLength : plain));
}

}  // namespace

int32_t CubeFormat::Decode(const uint8_t* data, int32_t size, ImagePixels& pixels) {
    ImageByteReader reader(data, size);
    TgaFormat::Header first;
    if (TgaFormat::ReadHeader(reader, first) != kOk) return kFailed;
    if (reader.GetRemaining() < TgaFormat::MinimumPixelBytes(first) + MinimumLaterFaces(first)) return kFailed;
    if (pixels.Allocate(first.width, first.height, kFaces, first.format) != kOk) return kOutOfMemory;

    const int64_t faceBytes = int64_t{first.width} * first.height * first.bytesPerPixel;
    TgaFormat::Header header = first;
    for (int32_t face = 0; face < kFaces; ++face) {
        if (face > 0 && (TgaFormat::ReadHeader(reader, header) != kOk || !SameShape(header, first))) return kFailed;
        if (TgaFormat::ReadPixels(reader, header, pixels.GetData() + face * faceBytes) != kOk) return kFailed;
    }
    return kOk;
}

int32_t CubeFormat::Encode(const uint8_t* pixels, int32_t width, int32_t height, int32_t format, ByteBlock& out) {
    const int64_t faceSize = TgaFormat::EncodedSize(width, height, format);
    if (faceSize < 0 || faceSize * kFaces > INT32_MAX) return kInvalidArgument;
    const int64_t faceBytes = faceSize - TgaFormat::kHeaderSize;
    if (pixels == nullptr && faceBytes > 0) return kInvalidArgument;
    if (out.Allocate(faceSize * kFaces) != kOk) return kOutOfMemory;
    for (int32_t face = 0; face < kFaces; ++face)
        TgaFormat::Write(out.Data() + face * faceSize, pixels + face * faceBytes, width, height, format);
    return kOk;
}

}  // namespace zel
