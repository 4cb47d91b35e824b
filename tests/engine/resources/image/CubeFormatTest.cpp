// Cube map files: six TGA faces in one file, each with its own header.
#include <gtest/gtest.h>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/CubeFormat.h"
#include "ImageTestFiles.h"

namespace zel {
namespace {

using imagetest::Bytes;
using imagetest::Decoded;
using imagetest::DecodeAs;
using imagetest::Tga;

// Face k is filled with the byte k + 1 (and k + 101 in byte 0 of each
// pixel, to see the swap).
Bytes Face(int k, uint8_t type = 2, uint8_t descriptor = 0) {
    Bytes pixels;
    for (int i = 0; i < 4; ++i) pixels.insert(pixels.end(), {uint8_t(k + 101), uint8_t(k + 1), uint8_t(k + 1)});
    if (type == 10) pixels = imagetest::TgaRunLength(pixels, 3);
    return Tga(type, 2, 2, 24, descriptor, pixels);
}

Bytes Cube(const std::vector<Bytes>& faces) {
    Bytes file;
    for (const Bytes& face : faces) imagetest::Append(file, face);
    return file;
}

TEST(CubeFormatTest, SixFacesBecomeSixSlicesInFileOrder) {
    // Faces may mix uncompressed and run-length data and origins.
    Decoded d = DecodeAs<CubeFormat>(Cube({Face(0), Face(1, 10), Face(2, 2, 0x20), Face(3), Face(4, 10, 0x20), Face(5)}));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(d.pixels.GetWidth(), 2);
    EXPECT_EQ(d.pixels.GetHeight(), 2);
    EXPECT_EQ(d.pixels.GetFormat(), Image::kFormatRGB);
    ASSERT_EQ(d.pixels.GetSize(), 6 * 12);
    for (int k = 0; k < 6; ++k) {
        const uint8_t* slice = d.pixels.GetData() + k * 12;
        EXPECT_EQ(slice[0], k + 1) << k;
        EXPECT_EQ(slice[2], k + 101) << k;
        EXPECT_EQ(slice[11], k + 101) << k;
    }
}

TEST(CubeFormatTest, FacesThatDisagreeOrAreMissingFail) {
    std::vector<Bytes> six = {Face(0), Face(1), Face(2), Face(3), Face(4), Face(5)};
    struct Case {
        const char* what;
        Bytes file;
    };
    std::vector<Bytes> wider = six;
    wider[3] = Tga(2, 4, 1, 24, 0, Bytes(12, 1));
    std::vector<Bytes> deeper = six;
    deeper[5] = Tga(2, 2, 2, 32, 0, Bytes(16, 1));
    std::vector<Bytes> sixteenBit = six;
    sixteenBit[2] = Tga(2, 2, 2, 16, 0, Bytes(8, 1));
    std::vector<Bytes> five(six.begin(), six.begin() + 5);
    Bytes cut = Cube(six);
    cut.pop_back();
    const Case cases[] = {
        {"different size", Cube(wider)}, {"different format", Cube(deeper)}, {"16-bit face", Cube(sixteenBit)},
        {"five faces", Cube(five)},      {"last face cut", cut},             {"empty", Bytes{}},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeAs<CubeFormat>(c.file).status, kFailed) << c.what;
}

TEST(CubeFormatTest, AHugeFirstFaceFailsWithoutAllocating) {
    Decoded d = DecodeAs<CubeFormat>(Tga(10, 0xFFFF, 0xFFFF, 32, 0, Bytes(600, 0xFF)));
    EXPECT_EQ(d.status, kFailed);
    EXPECT_EQ(d.pixels.GetData(), nullptr);
}

TEST(CubeFormatTest, WrittenCubesAreSixTgaFilesThatReadBack) {
    Bytes pixels = imagetest::PatternPixels(5, 3 * 6, 4, 11);  // six 5 x 3 slices
    ByteBlock out;
    ASSERT_EQ(CubeFormat::Encode(pixels.data(), 5, 3, Image::kFormatRGBA, out), kOk);
    ASSERT_EQ(out.Size(), 6 * (18 + 5 * 3 * 4));
    for (int k = 0; k < 6; ++k) {
        const uint8_t* header = out.Data() + k * (18 + 60);
        EXPECT_EQ(header[2], 2);
        EXPECT_EQ(header[16], 32);
        EXPECT_EQ(header[17], 0x28);
    }
    Decoded d = DecodeAs<CubeFormat>(Bytes(out.Data(), out.Data() + out.Size()));
    ASSERT_EQ(d.status, kOk);
    EXPECT_EQ(Bytes(d.pixels.GetData(), d.pixels.GetData() + d.pixels.GetSize()), pixels);
}

}  // namespace
}  // namespace zel
