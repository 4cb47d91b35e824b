#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/render/device/MipFilter.h"
#include "engine/resources/Image.h"

namespace zel {
namespace {

using MipBytes = std::vector<uint8_t>;

MipSurface Surface(MipBytes& bytes, int32_t width, int32_t height, int32_t depth, int32_t channels, int32_t padding = 0) {
    MipSurface surface;
    surface.width = width;
    surface.height = height;
    surface.depth = depth;
    surface.rowPitch = width * channels + padding;
    surface.slicePitch = surface.rowPitch * height;
    bytes.assign(size_t(surface.slicePitch) * depth, 0);
    surface.data = bytes.data();
    return surface;
}

// A one-texel checkerboard of black and white in every channel.
void Checker(const MipSurface& surface, int32_t channels) {
    for (int32_t z = 0; z < surface.depth; ++z)
        for (int32_t y = 0; y < surface.height; ++y)
            for (int32_t x = 0; x < surface.width; ++x)
                for (int32_t c = 0; c < channels; ++c)
                    surface.data[z * surface.slicePitch + y * surface.rowPitch + x * channels + c] =
                        (x + y + z) % 2 ? 255 : 0;
}

// The box formula, level 1 of a checkerboard: every texel mid grey, for
// each format and for 2D, volume and non-square shapes.
struct CheckerCase {
    const char* what;
    int32_t format;
    int32_t width, height, depth;
    uint8_t expected;  // (0 + 255 + ...) / count, rounded
};

const CheckerCase kCheckers[] = {
    {"RGB 2D", Image::kFormatRGB, 8, 8, 1, 128},
    {"RGBA 2D", Image::kFormatRGBA, 4, 4, 1, 128},
    {"A8 2D", Image::kFormatA8, 16, 2, 1, 128},
    {"RGB volume", Image::kFormatRGB, 4, 4, 4, 128},
    {"A8 volume", Image::kFormatA8, 2, 2, 2, 128},
    {"one row: pairs only", Image::kFormatRGBA, 8, 1, 1, 128},
    {"one column: pairs only", Image::kFormatA8, 1, 8, 1, 128},
};

TEST(MipFilter, CheckerboardLevelOneIsMidGrey) {
    for (const CheckerCase& c : kCheckers) {
        SCOPED_TRACE(c.what);
        int32_t channels = MipFilter::ChannelsOf(c.format);
        MipBytes top, next;
        MipSurface above = Surface(top, c.width, c.height, c.depth, channels);
        MipSurface below = Surface(next, MipFilter::NextSize(c.width), MipFilter::NextSize(c.height),
                                   MipFilter::NextSize(c.depth), channels);
        Checker(above, channels);
        ASSERT_EQ(MipFilter::Downsample(above, below, channels), 0);
        for (uint8_t value : next) EXPECT_EQ(value, c.expected);
    }
}

TEST(MipFilter, AveragesEachChannelOnItsOwnAndRounds) {
    // 2 x 2 RGBA: channel sums 0+1+1+1 = 3 (3/4 rounds to 1), 10+20+30+40 = 100,
    // 255*4, and 1+2+2+2 = 7 (7/4 rounds to 2).
    MipBytes top = {0, 10, 255, 1, 1, 20, 255, 2, 1, 30, 255, 2, 1, 40, 255, 2};
    MipSurface above{top.data(), 2, 2, 1, 8, 16};
    MipBytes next(4, 0);
    MipSurface below{next.data(), 1, 1, 1, 4, 4};
    ASSERT_EQ(MipFilter::Downsample(above, below, 4), 0);
    EXPECT_EQ(next, (MipBytes{1, 25, 255, 2}));
}

TEST(MipFilter, OddSizesLeaveTheLastRowAndColumnOut) {
    // 3 x 3 A8 down to 1 x 1: the top-left 2 x 2 only.
    MipBytes top = {10, 20, 99, 30, 40, 99, 99, 99, 99};
    MipSurface above{top.data(), 3, 3, 1, 3, 9};
    uint8_t out = 0;
    MipSurface below{&out, 1, 1, 1, 1, 1};
    ASSERT_EQ(MipFilter::Downsample(above, below, 1), 0);
    EXPECT_EQ(out, 25);
}

TEST(MipFilter, PaddedRowsAreSkipped) {
    MipBytes top, next;
    MipSurface above = Surface(top, 4, 4, 1, 3, 5);
    MipSurface below = Surface(next, 2, 2, 1, 3, 7);
    Checker(above, 3);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t p = 0; p < 5; ++p) top[y * above.rowPitch + 12 + p] = 77;
    ASSERT_EQ(MipFilter::Downsample(above, below, 3), 0);
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(next[y * below.rowPitch + x], 128);
        for (int32_t p = 0; p < 7; ++p) EXPECT_EQ(next[y * below.rowPitch + 6 + p], 0);
    }
}

// A cube is six faces filtered on their own: a white face stays white next
// to a black one.
TEST(MipFilter, CubeFacesDoNotMix) {
    std::vector<MipBytes> faces(6), levels(6);
    for (int32_t face = 0; face < 6; ++face) {
        MipSurface above = Surface(faces[face], 4, 4, 1, 4);
        MipSurface below = Surface(levels[face], 2, 2, 1, 4);
        for (uint8_t& b : faces[face]) b = face % 2 ? 255 : 0;
        ASSERT_EQ(MipFilter::Downsample(above, below, 4), 0);
        for (uint8_t value : levels[face]) EXPECT_EQ(value, face % 2 ? 255 : 0);
    }
}

TEST(MipFilter, FullChainReachesOneTexel) {
    EXPECT_EQ(MipFilter::LevelCount(1, 1, 1), 1);
    EXPECT_EQ(MipFilter::LevelCount(256, 256, 1), 9);
    EXPECT_EQ(MipFilter::LevelCount(8, 2, 1), 4);
    EXPECT_EQ(MipFilter::LevelCount(5, 3, 17), 5);
}

TEST(MipFilter, RefusesWhatItCannotFilter) {
    uint8_t texels[64] = {};
    MipSurface above{texels, 4, 4, 1, 4, 16};
    MipSurface below{texels + 32, 2, 2, 1, 2, 4};
    EXPECT_EQ(MipFilter::Downsample(above, below, 1), 0);
    EXPECT_EQ(MipFilter::Downsample(above, below, 0), 3);
    EXPECT_EQ(MipFilter::Downsample(above, below, 5), 3);
    MipSurface wrongSize{texels + 32, 1, 2, 1, 1, 2};
    EXPECT_EQ(MipFilter::Downsample(above, wrongSize, 1), 3);
    MipSurface shortRows{texels, 4, 4, 1, 3, 12};
    EXPECT_EQ(MipFilter::Downsample(shortRows, below, 1), 3);
    MipSurface noData{nullptr, 4, 4, 1, 4, 16};
    EXPECT_EQ(MipFilter::Downsample(noData, below, 1), 3);
    EXPECT_EQ(MipFilter::ChannelsOf(Image::kFormatRGBA16F), 0);
    EXPECT_EQ(MipFilter::ChannelsOf(Image::kFormatRGB), 3);
}

}  // namespace
}  // namespace zel
