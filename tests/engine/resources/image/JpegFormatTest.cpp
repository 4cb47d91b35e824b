// JPEG decoding and encoding through libjpeg: formats, row order, the
// logged library errors, truncated and hostile files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/JpegFormat.h"
#include "ImageTestFiles.h"
#include "JpegTestFiles.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using imagetest::Bytes;
using imagetest::Decoded;
using imagetest::DecodeAs;
using imagetest::CompressJpeg;
using test::LogCapture;

// A picture whose top half has the colour `top` and bottom half `bottom`,
// rows listed top first.
Bytes Halves(int width, int height, const Bytes& top, const Bytes& bottom) {
    Bytes rows;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) rows.insert(rows.end(), (y < height / 2 ? top : bottom).begin(),
                                                     (y < height / 2 ? top : bottom).end());
    return rows;
}

bool Near(int a, int b) { return std::abs(a - b) <= 8; }

// The one line "%d %s": a message code, a space, the library's text.
bool HasLibraryLine(const test::RecordingOutput& output, const std::string& text) {
    for (const test::LoggedLine& line : output.lines) {
        size_t space = line.text.find(' ');
        if (line.level != kLogWarning || space == std::string::npos || space == 0) continue;
        if (line.text.find_first_not_of("0123456789") != space) continue;
        if (line.text.find(text) != std::string::npos) return true;
    }
    return false;
}

// --- Formats and row order

TEST(JpegFormatTest, GreyscaleGivesFormatTwoWithTheLastScanlineFirst) {
    Decoded d = DecodeAs<JpegFormat>(CompressJpeg(Halves(16, 16, {255}, {0}), 16, 16, 1));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(d.pixels.GetFormat(), Image::kFormatA8);
    EXPECT_EQ(d.pixels.GetWidth(), 16);
    EXPECT_EQ(d.pixels.GetHeight(), 16);
    EXPECT_TRUE(Near(d.pixels.GetData()[0], 0));             // bottom row: black
    EXPECT_TRUE(Near(d.pixels.GetData()[15 * 16 + 3], 255));  // top row: white
}

TEST(JpegFormatTest, ColourGivesFormatZeroWithTheLastScanlineFirst) {
    Decoded d = DecodeAs<JpegFormat>(CompressJpeg(Halves(16, 16, {255, 0, 0}, {0, 0, 255}), 16, 16, 3));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(d.pixels.GetFormat(), Image::kFormatRGB);
    const uint8_t* bottom = d.pixels.GetData();
    const uint8_t* top = d.pixels.GetData() + 15 * 16 * 3;
    EXPECT_TRUE(Near(bottom[0], 0) && Near(bottom[2], 255)) << int(bottom[0]) << " " << int(bottom[2]);
    EXPECT_TRUE(Near(top[0], 255) && Near(top[2], 0)) << int(top[0]) << " " << int(top[2]);
}

// --- Failures

TEST(JpegFormatTest, CorruptDataIsLoggedAndFails) {
    LogCapture capture;
    Decoded d = DecodeAs<JpegFormat>(Bytes{'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
    EXPECT_EQ(d.status, kFailed);
    EXPECT_EQ(d.pixels.GetData(), nullptr);
    EXPECT_TRUE(HasLibraryLine(*capture, "Not a JPEG file"));
}

TEST(JpegFormatTest, EmptyDataFails) {
    LogCapture capture;
    EXPECT_EQ(DecodeAs<JpegFormat>(Bytes{}).status, kFailed);
    EXPECT_EQ(capture->lines.size(), 2u);  // the end-of-file warning, then the error
}

TEST(JpegFormatTest, DamagedTablesFailAfterTheHeader) {
    Bytes file = CompressJpeg(imagetest::PatternPixels(16, 16, 3, 1), 16, 16, 3);
    // Break the first Huffman table's length field.
    for (size_t i = 2; i + 3 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC4) {
            file[i + 2] = 0x00;
            file[i + 3] = 0x03;
            break;
        }
    LogCapture capture;
    EXPECT_EQ(DecodeAs<JpegFormat>(file).status, kFailed);
    EXPECT_FALSE(capture->lines.empty());
}

TEST(JpegFormatTest, TruncatedScanDataEndsWithAWarning) {
    Bytes file = CompressJpeg(imagetest::PatternPixels(64, 64, 3, 2), 64, 64, 3);
    file.resize(file.size() * 2 / 3);
    LogCapture capture;
    Decoded d = DecodeAs<JpegFormat>(file);
    // The library fills what is missing and goes on.
    EXPECT_EQ(d.status, kOk);
    EXPECT_EQ(d.pixels.GetHeight(), 64);
    EXPECT_TRUE(HasLibraryLine(*capture, "Premature end of JPEG file"));
}

TEST(JpegFormatTest, CmykFilesAreRefused) {
    Bytes cmyk = CompressJpeg(Bytes(8 * 8 * 4, 100), 8, 8, 4);
    LogCapture capture;
    Decoded d = DecodeAs<JpegFormat>(cmyk);
    EXPECT_EQ(d.status, kFailed);
    EXPECT_EQ(d.pixels.GetData(), nullptr);
}

TEST(JpegFormatTest, HugeDimensionsInASmallFileFailWithoutAllocating) {
    Bytes file = CompressJpeg(Bytes(8 * 8, 7), 8, 8, 1);
    // Claim 65500 x 65500 in the frame header.
    for (size_t i = 2; i + 8 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            file[i + 5] = 0xFF;
            file[i + 6] = 0xDC;
            file[i + 7] = 0xFF;
            file[i + 8] = 0xDC;
            break;
        }
    Decoded d = DecodeAs<JpegFormat>(file);
    EXPECT_EQ(d.status, kFailed);
    EXPECT_EQ(d.pixels.GetData(), nullptr);
}

// --- Writing

TEST(JpegFormatTest, EncodedFilesKeepFormatAndRowOrder) {
    struct Case {
        int32_t format;
        Bytes top;
        Bytes bottom;
        int components;
    };
    const Case cases[] = {
        {Image::kFormatA8, {240}, {10}, 1},
        {Image::kFormatRGB, {250, 10, 10}, {10, 250, 10}, 3},
    };
    for (const Case& c : cases) {
        // Bottom rows first, as the engine keeps them.
        Bytes pixels = imagetest::FlipRows(Halves(16, 16, c.top, c.bottom), 16 * c.components);
        ByteBlock out;
        ASSERT_EQ(JpegFormat::Encode(pixels.data(), 16, 16, c.format, out), kOk);
        Bytes file(out.Data(), out.Data() + out.Size());
        // The frame header names the component count.
        size_t sof = 2;
        while (sof + 9 < file.size() && !(file[sof] == 0xFF && file[sof + 1] == 0xC0)) ++sof;
        ASSERT_LT(sof + 9, file.size());
        EXPECT_EQ(file[sof + 9], c.components);

        Decoded d = DecodeAs<JpegFormat>(file);
        ASSERT_EQ(d.status, kOk);
        EXPECT_EQ(d.pixels.GetFormat(), c.format);
        EXPECT_TRUE(Near(d.pixels.GetData()[0], c.bottom[0]));
        EXPECT_TRUE(Near(d.pixels.GetData()[15 * 16 * c.components], c.top[0]));
    }
}

TEST(JpegFormatTest, WriterRefusesOtherFormatsAndLogsLibraryErrors) {
    Bytes pixels(64, 0);
    ByteBlock out;
    EXPECT_EQ(JpegFormat::Encode(pixels.data(), 2, 2, Image::kFormatRGBA, out), kInvalidArgument);
    EXPECT_EQ(JpegFormat::Encode(nullptr, 2, 2, Image::kFormatRGB, out), kInvalidArgument);
    EXPECT_EQ(JpegFormat::Encode(pixels.data(), 0, 2, Image::kFormatRGB, out), kInvalidArgument);
    // Wider than JPEG allows: the library's error, logged, status 1.
    LogCapture capture;
    EXPECT_EQ(JpegFormat::Encode(pixels.data(), 70000, 1, Image::kFormatA8, out), kFailed);
    EXPECT_TRUE(HasLibraryLine(*capture, "Maximum supported image dimension"));
}

}  // namespace
}  // namespace zel
