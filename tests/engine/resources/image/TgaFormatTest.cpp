// TGA decoding and encoding: channel order and row order in both origins,
// run-length packets, refused kinds, and damaged or hostile headers that
// must fail without allocating.
#include <gtest/gtest.h>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/TgaFormat.h"
#include "ImageTestFiles.h"

namespace zel {
namespace {

using imagetest::Bytes;
using imagetest::Decoded;
using imagetest::DecodeAs;
using imagetest::Data;
using imagetest::Tga;
using imagetest::TgaHeader;

// --- Channel and row order

TEST(TgaFormatTest, BottomLeftPixelsAreSwappedAndRowsKeptInFileOrder) {
    // Two rows of two pixels; the file's first row is the picture's bottom.
    Decoded d = DecodeAs<TgaFormat>(Tga(2, 2, 2, 24, 0, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(d.pixels.GetFormat(), Image::kFormatRGB);
    EXPECT_EQ(d.pixels.GetWidth(), 2);
    EXPECT_EQ(d.pixels.GetHeight(), 2);
    EXPECT_EQ(Data(d.pixels), (Bytes{30, 20, 10, 60, 50, 40, 90, 80, 70, 120, 110, 100}));
}

TEST(TgaFormatTest, ThirtyTwoBitPixelsKeepAlphaInPlace) {
    Decoded d = DecodeAs<TgaFormat>(Tga(2, 2, 1, 32, 8, {1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(d.pixels.GetFormat(), Image::kFormatRGBA);
    EXPECT_EQ(Data(d.pixels), (Bytes{3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST(TgaFormatTest, TopLeftOriginIsTurnedBottomFirst) {
    Decoded d = DecodeAs<TgaFormat>(Tga(2, 1, 3, 24, 0x20, {1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(Data(d.pixels), (Bytes{9, 8, 7, 6, 5, 4, 3, 2, 1}));
}

TEST(TgaFormatTest, IdentifierIsSkippedOnlyWhenItFitsTheFile) {
    Bytes withId = TgaHeader(2, 1, 1, 24, 0, 3);
    withId.insert(withId.end(), {0xEE, 0xEE, 0xEE, 1, 2, 3});
    Decoded skipped = DecodeAs<TgaFormat>(withId);
    ASSERT_EQ(skipped.status, kOk);
    EXPECT_EQ(Data(skipped.pixels), (Bytes{3, 2, 1}));

    // An identifier longer than the rest of the file is not skipped: the
    // pixels are taken to follow the header.
    Bytes overlong = TgaHeader(2, 1, 1, 24, 0, 200);
    overlong.insert(overlong.end(), {1, 2, 3});
    Decoded kept = DecodeAs<TgaFormat>(overlong);
    ASSERT_EQ(kept.status, kOk);
    EXPECT_EQ(Data(kept.pixels), (Bytes{3, 2, 1}));
}

// --- Run-length packets

TEST(TgaFormatTest, RepeatAndLiteralPackets) {
    // 0x83: one pixel, four times; 0x02: three literal pixels.
    Decoded d = DecodeAs<TgaFormat>(Tga(10, 7, 1, 24, 0, {0x83, 1, 2, 3, 0x02, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(Data(d.pixels),
              (Bytes{3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
}

TEST(TgaFormatTest, PacketsMayCrossRowsAndTopLeftRowsAreReversed) {
    Decoded across = DecodeAs<TgaFormat>(Tga(10, 2, 2, 32, 0, {0x81, 1, 2, 3, 4, 0x81, 5, 6, 7, 8}));
    ASSERT_EQ(across.status, kOk);
    EXPECT_EQ(Data(across.pixels), (Bytes{3, 2, 1, 4, 3, 2, 1, 4, 7, 6, 5, 8, 7, 6, 5, 8}));

    Decoded topLeft = DecodeAs<TgaFormat>(Tga(10, 1, 3, 24, 0x20, {0x80, 1, 1, 1, 0x01, 2, 2, 2, 3, 3, 3}));
    ASSERT_EQ(topLeft.status, kOk);
    EXPECT_EQ(Data(topLeft.pixels), (Bytes{3, 3, 3, 2, 2, 2, 1, 1, 1}));
}

TEST(TgaFormatTest, LongestPacketsCoverOneHundredTwentyEightPixels) {
    Bytes payload = {0xFF, 9, 8, 7, 0x7F};
    for (int i = 0; i < 128; ++i) payload.insert(payload.end(), {uint8_t(i), 0, 0});
    Decoded d = DecodeAs<TgaFormat>(Tga(10, 256, 1, 24, 0, payload));
    ASSERT_EQ(d.status, kOk);
    Bytes data = Data(d.pixels);
    EXPECT_EQ(data[127 * 3], 7);
    EXPECT_EQ(data[128 * 3 + 2], 0);
    EXPECT_EQ(data[255 * 3 + 2], 127);
}

// --- Refused and damaged files

TEST(TgaFormatTest, UnsupportedKindsAreRefused) {
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"16-bit", Tga(2, 1, 1, 16, 0, {1, 2})},
        {"8-bit", Tga(2, 1, 1, 8, 0, {1})},
        {"colour-mapped", Tga(1, 1, 1, 24, 0, {1, 2, 3})},
        {"greyscale", Tga(3, 1, 1, 24, 0, {1, 2, 3})},
        {"run-length colour-mapped", Tga(9, 1, 1, 24, 0, {0x80, 1, 2, 3})},
        {"zero width", Tga(2, 0, 5, 24, 0, {})},
        {"zero height", Tga(10, 5, 0, 32, 0, {})},
        {"short header", Bytes(17, 0)},
        {"empty", Bytes{}},
    };
    for (const Case& c : cases) {
        Decoded d = DecodeAs<TgaFormat>(c.file);
        EXPECT_EQ(d.status, kFailed) << c.what;
        EXPECT_EQ(d.pixels.GetData(), nullptr) << c.what;
    }
}

TEST(TgaFormatTest, TruncatedPixelDataFails) {
    const Bytes cases[] = {
        Tga(2, 2, 2, 24, 0, Bytes(11, 1)),           // one byte short
        Tga(10, 4, 1, 24, 0, {0x83, 1, 2}),           // repeated pixel cut
        Tga(10, 4, 1, 24, 0, {0x03, 1, 2, 3, 4, 5}),  // literal pixels cut
        Tga(10, 8, 1, 24, 0, {0x83, 1, 2, 3}),        // packets end early
    };
    for (const Bytes& file : cases) EXPECT_EQ(DecodeAs<TgaFormat>(file).status, kFailed);
}

TEST(TgaFormatTest, PacketsRunningPastTheImageFail) {
    EXPECT_EQ(DecodeAs<TgaFormat>(Tga(10, 2, 1, 24, 0, {0x83, 1, 2, 3})).status, kFailed);
    EXPECT_EQ(DecodeAs<TgaFormat>(Tga(10, 2, 1, 24, 0, {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9})).status, kFailed);
    EXPECT_EQ(DecodeAs<TgaFormat>(Tga(10, 3, 1, 24, 0, {0x81, 1, 2, 3, 0x81, 4, 5, 6})).status, kFailed);
}

TEST(TgaFormatTest, HugeHeadersInSmallFilesFailWithoutAllocating) {
    // 65535 x 65535 would need 16 GB; the 50-byte file holds 32 bytes of
    // pixels, and even run-length data needs a packet per 128 pixels.
    for (uint8_t type : {uint8_t(2), uint8_t(10)}) {
        Bytes file = Tga(type, 0xFFFF, 0xFFFF, 32, 0, Bytes(32, 0xFF));
        ASSERT_EQ(file.size(), 50u);
        Decoded d = DecodeAs<TgaFormat>(file);
        EXPECT_EQ(d.status, kFailed);
        EXPECT_EQ(d.pixels.GetData(), nullptr);
        EXPECT_EQ(d.pixels.GetWidth(), 0);
    }
}

// --- Writing

TEST(TgaFormatTest, WriterEmitsTopLeftHeaderAndReversedSwappedRows) {
    const Bytes pixels = {1, 2, 3, 4, 5, 6};  // bottom row 1,2,3; top row 4,5,6
    ByteBlock out;
    ASSERT_EQ(TgaFormat::Encode(pixels.data(), 1, 2, Image::kFormatRGB, out), kOk);
    Bytes file(out.Data(), out.Data() + out.Size());
    Bytes expected = TgaHeader(2, 1, 2, 24, 0x28);
    expected.insert(expected.end(), {6, 5, 4, 3, 2, 1});
    EXPECT_EQ(file, expected);
}

TEST(TgaFormatTest, WrittenFilesReadBackUnchanged) {
    for (int32_t format : {Image::kFormatRGB, Image::kFormatRGBA}) {
        const int bpp = Image::GetBytesPerPixel(format);
        Bytes pixels = imagetest::PatternPixels(13, 7, bpp, 5);
        ByteBlock out;
        ASSERT_EQ(TgaFormat::Encode(pixels.data(), 13, 7, format, out), kOk);
        Decoded d = DecodeAs<TgaFormat>(Bytes(out.Data(), out.Data() + out.Size()));
        ASSERT_EQ(d.status, kOk) << format;
        EXPECT_EQ(d.pixels.GetFormat(), format);
        EXPECT_EQ(Data(d.pixels), pixels) << format;
    }
}

TEST(TgaFormatTest, WriterRefusesWhatTgaCannotHold) {
    Bytes pixels(16, 0);
    ByteBlock out;
    EXPECT_EQ(TgaFormat::Encode(pixels.data(), 0, 1, Image::kFormatRGB, out), kInvalidArgument);
    EXPECT_EQ(TgaFormat::Encode(pixels.data(), 65536, 1, Image::kFormatRGB, out), kInvalidArgument);
    EXPECT_EQ(TgaFormat::Encode(nullptr, 1, 1, Image::kFormatRGB, out), kInvalidArgument);
    // A format without pixels still gets a header.
    ASSERT_EQ(TgaFormat::Encode(nullptr, 4, 4, Image::kFormatNone, out), kOk);
    EXPECT_EQ(out.Size(), TgaFormat::kHeaderSize);
}

}  // namespace
}  // namespace zel
