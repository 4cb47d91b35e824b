// The pictures drawn in code, as the content tool writes them: the same
// bytes on every run, readable by the engine's codecs at their sizes, the
// tiling ones without a seam, the cut-outs clear around a solid shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/Pointer.h"
#include "engine/core/Status.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/File.h"
#include "engine/resources/Image.h"
#include "engine/resources/TempDirectory.h"
#include "tools/content/picture/ContentPictures.h"
#include "tools/content/picture/ShowTextures.h"

namespace zel {
namespace {

using test::TempDirectory;

enum Tiling { kNoTiling = 0, kAcross = 1, kBoth = 3 };
enum Alpha {
    kOpaque,  // every pixel 255
    kCutout,  // fully clear and fully solid pixels
    kSoft,    // clear all round the border, strong somewhere inside
};

struct Expected {
    const char* file;
    int width, height;
    Tiling tiling;
    Alpha alpha;
};

const Expected kPictures[] = {
    // Colour maps; the facade, car and sky are mapped once around or across.
    {"grass.jpg", 256, 256, kBoth, kOpaque},
    {"sand.jpg", 256, 256, kBoth, kOpaque},
    {"rock.jpg", 256, 256, kBoth, kOpaque},
    {"wall.jpg", 256, 256, kNoTiling, kOpaque},
    {"roof.jpg", 256, 256, kBoth, kOpaque},
    {"stone.jpg", 256, 256, kBoth, kOpaque},
    {"wood.jpg", 256, 256, kBoth, kOpaque},
    {"bark.jpg", 128, 128, kBoth, kOpaque},
    {"lighthouse.jpg", 256, 256, kAcross, kOpaque},
    {"car.jpg", 128, 128, kAcross, kOpaque},
    {"sky.jpg", 512, 256, kAcross, kOpaque},
    // Height maps and lookups.
    {"stone_h.tga", 256, 256, kBoth, kOpaque},
    {"water_h.tga", 256, 256, kBoth, kOpaque},
    {"flag.tga", 128, 64, kNoTiling, kOpaque},
    // Cut-outs and sprites.
    {"leaves.tga", 256, 256, kNoTiling, kCutout},
    {"grassblades.tga", 256, 128, kNoTiling, kCutout},
    {"gull.tga", 64, 64, kNoTiling, kCutout},
    {"smoke.tga", 64, 64, kNoTiling, kSoft},
    {"spray.tga", 64, 64, kNoTiling, kSoft},
    {"glow.tga", 64, 64, kNoTiling, kSoft},
    {"flare.tga", 128, 128, kNoTiling, kSoft},
    {"lens_ring.tga", 64, 64, kNoTiling, kSoft},
    {"lens_disc.tga", 64, 64, kNoTiling, kSoft},
    {"lens_glow.tga", 64, 64, kNoTiling, kSoft},
    // The application's own pictures.
    {"loader.jpg", 512, 512, kNoTiling, kOpaque},
    {"4loader_lu.tga", 64, 32, kNoTiling, kCutout},
    {"4loader_rd.tga", 64, 32, kNoTiling, kCutout},
    {"settings.bmp", 160, 320, kNoTiling, kOpaque},
    {"logo.bmp", 128, 128, kNoTiling, kOpaque},
    {"preview.bmp", 152, 112, kNoTiling, kOpaque},
};

int WriteAll(const std::string& directory) { return WriteShowTextures(directory) | WriteCustomPictures(directory); }

std::vector<char> Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A picture as the engine loads it: rows bottom first, 3 or 4 bytes a pixel.
struct Picture {
    int width = 0, height = 0, channels = 0;
    std::vector<uint8_t> data;

    int At(int x, int y, int channel) const { return data[(size_t(y) * size_t(width) + size_t(x)) * size_t(channels) + size_t(channel)]; }
};

Picture Load(const std::string& directory, const char* name) {
    Directory folder(String(directory.c_str()), nullptr);
    File* file = new File(String(name));
    folder.AttachFile(file);
    Pointer<Image> image = new Image(file, String());
    Picture picture;
    if (image->GetData() == nullptr) return picture;
    picture.width = image->GetWidth();
    picture.height = image->GetHeight();
    picture.channels = Image::GetBytesPerPixel(image->GetFormat());
    picture.data.assign(image->GetData(), image->GetData() + image->GetDataSize());
    return picture;
}

// Mean colour difference between two columns (or rows), per channel.
double Gap(const Picture& p, bool columns, int a, int b) {
    const int length = columns ? p.height : p.width;
    double sum = 0.0;
    for (int i = 0; i < length; ++i)
        for (int c = 0; c < 3; ++c)
            sum += std::abs(columns ? p.At(a, i, c) - p.At(b, i, c) : p.At(i, a, c) - p.At(i, b, c));
    return sum / (length * 3);
}

class PicturesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* codec : {"BMPImageCodec", "JPGImageCodec", "TGAImageCodec"})
            ASSERT_EQ(LoadCodec(String(codec), nullptr), kOk) << codec;
        first_ = std::make_unique<TempDirectory>();
        ASSERT_EQ(WriteAll(first_->Text()), 0);
    }
    static void TearDownTestSuite() { first_.reset(); }

    static std::unique_ptr<TempDirectory> first_;
};

std::unique_ptr<TempDirectory> PicturesTest::first_;

TEST_F(PicturesTest, EveryRunWritesTheSameBytes) {
    TempDirectory second;
    ASSERT_EQ(WriteAll(second.Text()), 0);
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(first_->Path())) {
        const auto name = entry.path().filename();
        EXPECT_EQ(Bytes(entry.path()), Bytes(second.Path() / name)) << name;
        ++count;
    }
    EXPECT_EQ(count, size_t(std::distance(std::filesystem::directory_iterator(second.Path()), {})));
}

TEST_F(PicturesTest, EachLoadsThroughTheEngineAtItsSize) {
    for (const Expected& e : kPictures) {
        const Picture p = Load(first_->Text(), e.file);
        EXPECT_EQ(p.width, e.width) << e.file;
        EXPECT_EQ(p.height, e.height) << e.file;
        const bool tga = std::string(e.file).ends_with(".tga");
        EXPECT_EQ(p.channels, tga ? 4 : 3) << e.file;
    }
}

// Across a tile's edge the colour changes no more than between the most
// different neighbouring columns (rows) inside: the edge may fall on a
// joint of the pattern (a row of tiles, a plank's gap), and it always falls
// on a JPEG block's edge.
TEST_F(PicturesTest, TilingPicturesMeetThemselvesWithoutASeam) {
    for (const Expected& e : kPictures) {
        if (e.tiling == kNoTiling) continue;
        const Picture p = Load(first_->Text(), e.file);
        ASSERT_EQ(p.width, e.width) << e.file;
        for (bool columns : {true, false}) {
            if (!columns && e.tiling != kBoth) continue;
            const int size = columns ? p.width : p.height;
            double inside = 0.0;
            for (int i = 0; i + 1 < size; ++i) inside = std::max(inside, Gap(p, columns, i, i + 1));
            EXPECT_LE(Gap(p, columns, size - 1, 0), inside * 1.1 + 1.0) << e.file << (columns ? " left/right" : " top/bottom");
        }
    }
}

TEST_F(PicturesTest, AlphaShowsTheShapeAndHidesTheRest) {
    for (const Expected& e : kPictures) {
        const Picture p = Load(first_->Text(), e.file);
        ASSERT_EQ(p.width, e.width) << e.file;
        if (p.channels != 4) continue;
        int clear = 0, solid = 0, strongest = 0, border = 0;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const int a = p.At(x, y, 3);
                clear += a == 0;
                solid += a == 255;
                strongest = std::max(strongest, a);
                if (x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1) border = std::max(border, a);
            }
        }
        switch (e.alpha) {
        case kOpaque:
            EXPECT_EQ(solid, p.width * p.height) << e.file;
            break;
        case kCutout:
            EXPECT_GT(clear, 0) << e.file;
            EXPECT_GT(solid, 0) << e.file;
            break;
        case kSoft:
            EXPECT_EQ(border, 0) << e.file;
            EXPECT_GT(strongest, 128) << e.file;
            break;
        }
    }
}

}  // namespace
}  // namespace zel
