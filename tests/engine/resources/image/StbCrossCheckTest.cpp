// Our decoders and encoders checked against an independent decoder,
// stb_image, on generated files of every supported kind and on a real
// photograph. stb_image returns rows top first; the engine keeps them
// bottom first, so row r of ours is row height-1-r of stb's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#include <stb/stb_image.h>

#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/BmpFormat.h"
#include "engine/resources/image/CubeFormat.h"
#include "engine/resources/image/JpegFormat.h"
#include "engine/resources/image/TgaFormat.h"
#include "ImageTestFiles.h"
#include "JpegTestFiles.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using imagetest::Bytes;
using imagetest::Data;

// stb's picture, turned bottom row first like the engine's.
struct Reference {
    int width = 0;
    int height = 0;
    int components = 0;
    Bytes bottomFirst;
};

Reference DecodeWithStb(const uint8_t* data, size_t size, int wantedComponents = 0) {
    Reference r;
    int inFile = 0;
    stbi_uc* pixels = stbi_load_from_memory(data, int(size), &r.width, &r.height, &inFile, wantedComponents);
    if (pixels == nullptr) return Reference{};
    r.components = wantedComponents != 0 ? wantedComponents : inFile;
    Bytes topFirst(pixels, pixels + size_t(r.width) * r.height * r.components);
    stbi_image_free(pixels);
    r.bottomFirst = imagetest::FlipRows(topFirst, size_t(r.width) * r.components);
    return r;
}

Reference DecodeWithStb(const Bytes& file, int wantedComponents = 0) {
    return DecodeWithStb(file.data(), file.size(), wantedComponents);
}

// Per-byte differences between two pictures of the same shape.
struct Difference {
    int worst = 0;
    double mean = 0;
};

Difference Compare(const Bytes& a, const Bytes& b) {
    Difference d;
    if (a.size() != b.size() || a.empty()) return {256, 256};
    long total = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int delta = std::abs(int(a[i]) - int(b[i]));
        d.worst = std::max(d.worst, delta);
        total += delta;
    }
    d.mean = double(total) / a.size();
    return d;
}

// --- TGA

TEST(StbCrossCheckTest, TgaOfEveryKindDecodesAlike) {
    for (uint8_t type : {uint8_t(2), uint8_t(10)})
        for (uint8_t bits : {uint8_t(24), uint8_t(32)})
            for (uint8_t descriptor : {uint8_t(0), uint8_t(0x20)}) {
                const int bpp = bits / 8;
                Bytes stored = imagetest::PatternPixels(37, 23, bpp, type + bits + descriptor);
                Bytes file = imagetest::Tga(type, 37, 23, bits, descriptor | (bits == 32 ? 8 : 0),
                                            type == 10 ? imagetest::TgaRunLength(stored, bpp) : stored);
                SCOPED_TRACE("type " + std::to_string(type) + " bits " + std::to_string(bits) + " descriptor " +
                             std::to_string(descriptor));
                ImagePixels ours;
                ASSERT_EQ(TgaFormat::Decode(file.data(), int32_t(file.size()), ours), kOk);
                Reference stb = DecodeWithStb(file);
                ASSERT_EQ(stb.components, bpp);
                EXPECT_EQ(ours.GetWidth(), stb.width);
                EXPECT_EQ(ours.GetHeight(), stb.height);
                EXPECT_EQ(Data(ours), stb.bottomFirst);
            }
}

TEST(StbCrossCheckTest, WrittenTgaReadsBackInStb) {
    Bytes pixels = imagetest::PatternPixels(29, 17, 4, 77);
    ByteBlock out;
    ASSERT_EQ(TgaFormat::Encode(pixels.data(), 29, 17, Image::kFormatRGBA, out), kOk);
    Reference stb = DecodeWithStb(out.Data(), size_t(out.Size()));
    EXPECT_EQ(stb.bottomFirst, pixels);
}

// --- BMP

TEST(StbCrossCheckTest, TwentyFourBitBmpOfEveryPaddingDecodesAlike) {
    for (int width = 1; width <= 5; ++width)
        for (int direction : {1, -1}) {
            const int height = 6;
            Bytes stored = imagetest::PatternPixels(width, height, 3, width * 10 + direction);
            imagetest::BmpFields fields;
            fields.width = width;
            fields.height = direction * height;
            Bytes file = imagetest::Bmp(fields, {}, imagetest::PadRows(stored, size_t(width) * 3));
            SCOPED_TRACE("width " + std::to_string(width) + " height " + std::to_string(fields.height));
            ImagePixels ours;
            ASSERT_EQ(BmpFormat::Decode(file.data(), int32_t(file.size()), ours), kOk);
            Reference stb = DecodeWithStb(file);
            ASSERT_EQ(stb.components, 3);
            EXPECT_EQ(Data(ours), stb.bottomFirst);
        }
}

TEST(StbCrossCheckTest, EightBitBmpWithAGreyPaletteDecodesAlike) {
    Bytes stored = imagetest::PatternPixels(7, 5, 1, 3);
    imagetest::BmpFields fields;
    fields.width = 7;
    fields.height = 5;
    fields.bits = 8;
    Bytes file = imagetest::Bmp(fields, imagetest::GreyPalette(), imagetest::PadRows(stored, 7));
    ImagePixels ours;
    ASSERT_EQ(BmpFormat::Decode(file.data(), int32_t(file.size()), ours), kOk);
    // stb expands the palette; asked for one component it gives grey back.
    Reference stb = DecodeWithStb(file, 1);
    EXPECT_EQ(Data(ours), stb.bottomFirst);
}

TEST(StbCrossCheckTest, WrittenBmpReadsBackInStb) {
    Bytes pixels = imagetest::PatternPixels(13, 9, 3, 5);
    ByteBlock out;
    ASSERT_EQ(BmpFormat::Encode(pixels.data(), 13, 9, Image::kFormatRGB, out), kOk);
    Reference stb = DecodeWithStb(out.Data(), size_t(out.Size()));
    EXPECT_EQ(stb.bottomFirst, pixels);
}

// --- JPEG: two decoders round and upsample differently, so pictures are
// compared with a tolerance.

void ExpectJpegAlike(const Bytes& file, int components) {
    ImagePixels ours;
    ASSERT_EQ(JpegFormat::Decode(file.data(), int32_t(file.size()), ours), kOk);
    Reference stb = DecodeWithStb(file);
    ASSERT_EQ(stb.components, components);
    EXPECT_EQ(ours.GetWidth(), stb.width);
    EXPECT_EQ(ours.GetHeight(), stb.height);
    Difference d = Compare(Data(ours), stb.bottomFirst);
    EXPECT_LE(d.mean, 0.5);
    EXPECT_LE(d.worst, 8);
}

TEST(StbCrossCheckTest, GeneratedJpegsDecodeAlike) {
    struct Case {
        int components;
        bool progressive;
    };
    for (const Case c : {Case{1, false}, Case{3, false}, Case{1, true}, Case{3, true}}) {
        SCOPED_TRACE(std::to_string(c.components) + (c.progressive ? " progressive" : " baseline"));
        Bytes rows = imagetest::PatternPixels(45, 31, c.components, 21);
        ExpectJpegAlike(imagetest::CompressJpeg(rows, 45, 31, c.components, 85, c.progressive), c.components);
    }
}

TEST(StbCrossCheckTest, RealPhotographDecodesAlike) {
    Bytes file = imagetest::ReadBytes(imagetest::DataPath("photo.jpg"));
    ASSERT_FALSE(file.empty());
    ExpectJpegAlike(file, 3);
}

TEST(StbCrossCheckTest, WrittenJpegReadsBackInStb) {
    for (int32_t format : {Image::kFormatRGB, Image::kFormatA8}) {
        const int components = Image::GetBytesPerPixel(format);
        Bytes pixels(size_t(32) * 24 * components);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t((i / components) % 32 * 6 + (i / (32 * components)) * 3);
        ByteBlock out;
        ASSERT_EQ(JpegFormat::Encode(pixels.data(), 32, 24, format, out), kOk);
        Reference stb = DecodeWithStb(out.Data(), size_t(out.Size()));
        ASSERT_EQ(stb.components, components) << format;
        Difference d = Compare(stb.bottomFirst, pixels);
        EXPECT_LE(d.mean, 3.0) << format;
    }
}

// --- CUBE: each face is a TGA file of its own for stb.

TEST(StbCrossCheckTest, CubeFacesDecodeLikeSeparateTgaFiles) {
    Bytes file;
    std::vector<Bytes> faces;
    for (int k = 0; k < 6; ++k) {
        Bytes stored = imagetest::PatternPixels(11, 11, 3, 100 + k);
        uint8_t type = k % 2 == 0 ? 2 : 10;
        faces.push_back(imagetest::Tga(type, 11, 11, 24, k >= 3 ? 0x20 : 0,
                                       type == 10 ? imagetest::TgaRunLength(stored, 3) : stored));
        imagetest::Append(file, faces.back());
    }
    ImagePixels ours;
    ASSERT_EQ(CubeFormat::Decode(file.data(), int32_t(file.size()), ours), kOk);
    for (int k = 0; k < 6; ++k) {
        Reference stb = DecodeWithStb(faces[k]);
        Bytes slice(ours.GetData() + k * 363, ours.GetData() + (k + 1) * 363);
        EXPECT_EQ(slice, stb.bottomFirst) << "face " << k;
    }
}

}  // namespace
}  // namespace zel
