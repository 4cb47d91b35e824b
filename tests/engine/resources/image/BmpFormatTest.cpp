// BMP decoding and encoding: row padding, channel order, both row orders,
// the palette gap, refused kinds and headers that point outside the file.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/BmpFormat.h"
#include "ImageTestFiles.h"

namespace zel {
namespace {

using imagetest::Bmp;
using imagetest::BmpFields;
using imagetest::Bytes;
using imagetest::Decoded;
using imagetest::DecodeAs;
using imagetest::Data;

uint32_t U32(const Bytes& file, size_t at) {
    uint32_t value;
    std::memcpy(&value, file.data() + at, 4);
    return value;
}

uint16_t U16(const Bytes& file, size_t at) { return uint16_t(file[at] | (file[at + 1] << 8)); }

// --- Reading

TEST(BmpFormatTest, ThreePixelRowsAreNineBytesApartInTheImage) {
    // Each file row: 9 bytes of B, G, R pixels and 3 bytes of padding.
    Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xAA, 0xAA, 0xAA, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0xBB, 0xBB, 0xBB};
    BmpFields fields;
    fields.width = 3;
    fields.height = 2;
    Decoded d = DecodeAs<BmpFormat>(Bmp(fields, {}, rows));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(d.pixels.GetFormat(), Image::kFormatRGB);
    EXPECT_EQ(Data(d.pixels), (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 13, 12, 11, 16, 15, 14, 19, 18, 17}));
}

TEST(BmpFormatTest, EightBitRowsAreGreyLevelsAfterThePalette) {
    BmpFields fields;
    fields.width = 5;
    fields.height = 2;
    fields.bits = 8;
    Bytes rows = {1, 2, 3, 4, 5, 0, 0, 0, 6, 7, 8, 9, 10, 0, 0, 0};
    Decoded d = DecodeAs<BmpFormat>(Bmp(fields, imagetest::GreyPalette(), rows));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(d.pixels.GetFormat(), Image::kFormatA8);
    EXPECT_EQ(Data(d.pixels), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(BmpFormatTest, NegativeHeightMeansTopRowFirst) {
    BmpFields fields;
    fields.width = 1;
    fields.height = -2;
    Decoded d = DecodeAs<BmpFormat>(Bmp(fields, {}, {1, 2, 3, 0, 4, 5, 6, 0}));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(d.pixels.GetHeight(), 2);
    EXPECT_EQ(Data(d.pixels), (Bytes{6, 5, 4, 3, 2, 1}));
}

TEST(BmpFormatTest, LargerInformationHeadersAndAMissingLastPaddingAreAccepted) {
    BmpFields fields;
    fields.width = 1;
    fields.height = 2;
    fields.infoSize = 124;  // a version 5 header: same fields first
    Decoded d = DecodeAs<BmpFormat>(Bmp(fields, Bytes(84, 0), {1, 2, 3, 0, 4, 5, 6}));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(Data(d.pixels), (Bytes{3, 2, 1, 6, 5, 4}));
}

TEST(BmpFormatTest, RefusedFiles) {
    struct Case {
        const char* what;
        BmpFields fields;
        Bytes rows;
    };
    auto with = [](auto change) {
        BmpFields f;
        f.width = 2;
        f.height = 2;
        change(f);
        return f;
    };
    const Bytes rows(16, 0);
    const Case cases[] = {
        {"16-bit", with([](BmpFields& f) { f.bits = 16; }), rows},
        {"32-bit", with([](BmpFields& f) { f.bits = 32; }), rows},
        {"1-bit", with([](BmpFields& f) { f.bits = 1; }), rows},
        {"run-length compression", with([](BmpFields& f) { f.compression = 1; }), rows},
        {"not BM", with([](BmpFields& f) { f.magic = 0x4142; }), rows},
        {"core header", with([](BmpFields& f) { f.infoSize = 12; }), rows},
        {"zero width", with([](BmpFields& f) { f.width = 0; }), rows},
        {"negative width", with([](BmpFields& f) { f.width = -2; }), rows},
        {"zero height", with([](BmpFields& f) { f.height = 0; }), rows},
        {"lowest height", with([](BmpFields& f) { f.height = INT_MIN; }), rows},
        {"offset inside the headers", with([](BmpFields& f) { f.offsetDelta = -1; }), rows},
        {"offset beyond the file", with([](BmpFields& f) { f.offsetDelta = 1000; }), rows},
        {"rows cut short", with([](BmpFields& f) { (void)f; }), Bytes(13, 0)},
        {"huge width", with([](BmpFields& f) { f.width = INT_MAX; }), rows},
        {"huge height", with([](BmpFields& f) { f.height = INT_MAX; }), rows},
        {"huge top-down height", with([](BmpFields& f) { f.height = -INT_MAX; }), rows},
    };
    for (const Case& c : cases) {
        Decoded d = DecodeAs<BmpFormat>(Bmp(c.fields, {}, c.rows));
        EXPECT_EQ(d.status, kFailed) << c.what;
        EXPECT_EQ(d.pixels.GetData(), nullptr) << c.what;
    }
    EXPECT_EQ(DecodeAs<BmpFormat>(Bytes(53, 0)).status, kFailed);
    EXPECT_EQ(DecodeAs<BmpFormat>(Bytes{}).status, kFailed);
}

// --- Writing

TEST(BmpFormatTest, WriterHeaderFields) {
    Bytes pixels = imagetest::PatternPixels(3, 2, 3, 1);
    ByteBlock out;
    ASSERT_EQ(BmpFormat::Encode(pixels.data(), 3, 2, Image::kFormatRGB, out), kOk);
    Bytes file(out.Data(), out.Data() + out.Size());
    ASSERT_EQ(file.size(), 54u + 2 * 12);
    EXPECT_EQ(U16(file, 0), 0x4D42);
    EXPECT_EQ(U32(file, 2), 78u);   // file size
    EXPECT_EQ(U32(file, 6), 0u);    // reserved words
    EXPECT_EQ(U32(file, 10), 54u);  // pixel offset
    EXPECT_EQ(U32(file, 14), 40u);
    EXPECT_EQ(U32(file, 18), 3u);
    EXPECT_EQ(U32(file, 22), 2u);
    EXPECT_EQ(U16(file, 26), 1);
    EXPECT_EQ(U16(file, 28), 24);
    EXPECT_EQ(U32(file, 30), 0u);
    EXPECT_EQ(U32(file, 34), 24u);  // image size
    EXPECT_EQ(U32(file, 38), 3780u);
    EXPECT_EQ(U32(file, 42), 3780u);
    EXPECT_EQ(U32(file, 46), 0u);
    EXPECT_EQ(U32(file, 50), 0u);
    // First row: B, G, R of the bottom row, then three zero bytes.
    EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 66),
              (Bytes{pixels[2], pixels[1], pixels[0], pixels[5], pixels[4], pixels[3], pixels[8], pixels[7], pixels[6],
                     0, 0, 0}));
}

TEST(BmpFormatTest, SavedImagesReadBackWithTheSameBytes) {
    struct Case {
        int32_t format;
        int32_t width;
        int32_t height;
    };
    const Case cases[] = {{Image::kFormatRGB, 1, 1}, {Image::kFormatRGB, 3, 5}, {Image::kFormatRGB, 64, 3},
                          {Image::kFormatA8, 5, 4},  {Image::kFormatA8, 8, 2},  {Image::kFormatA8, 1, 9}};
    for (const Case& c : cases) {
        Bytes pixels = imagetest::PatternPixels(c.width, c.height, Image::GetBytesPerPixel(c.format), 9);
        ByteBlock out;
        ASSERT_EQ(BmpFormat::Encode(pixels.data(), c.width, c.height, c.format, out), kOk);
        Decoded d = DecodeAs<BmpFormat>(Bytes(out.Data(), out.Data() + out.Size()));
        ASSERT_EQ(d.status, kOk) << c.width << "x" << c.height;
        EXPECT_EQ(d.pixels.GetFormat(), c.format);
        EXPECT_EQ(Data(d.pixels), pixels) << c.width << "x" << c.height;
    }
}

TEST(BmpFormatTest, WriterRefusesOtherFormatsAndEmptyImages) {
    Bytes pixels(64, 0);
    ByteBlock out;
    for (int32_t format : {Image::kFormatRGBA, Image::kFormatRGBA16F, Image::kFormatNone, Image::kFormatDepthStencil})
        EXPECT_EQ(BmpFormat::Encode(pixels.data(), 2, 2, format, out), kInvalidArgument) << format;
    EXPECT_EQ(BmpFormat::Encode(pixels.data(), 0, 2, Image::kFormatRGB, out), kInvalidArgument);
    EXPECT_EQ(BmpFormat::Encode(nullptr, 2, 2, Image::kFormatRGB, out), kInvalidArgument);
}

}  // namespace
}  // namespace zel
