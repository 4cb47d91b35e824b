#include <gtest/gtest.h>

#include "engine/render/device/ModeFormats.h"

namespace zel {
namespace {

DisplayModeEntry ModeWithBits(uint32_t color, uint32_t green, uint32_t alpha) {
    DisplayModeEntry entry;
    entry.colorBits = color;
    entry.greenBits = green;
    entry.alphaBits = alpha;
    return entry;
}

// Bits to formats: back buffer and the display format it is checked on.
TEST(ModeFormats, BitsGiveBackBufferAndDisplayFormats) {
    struct Row {
        uint32_t color, green, alpha, backBuffer, display;
    };
    const Row rows[] = {
        {16, 6, 0, format::kR5G6B5, format::kR5G6B5},
        {16, 5, 0, format::kX1R5G5B5, format::kX1R5G5B5},
        {16, 5, 1, format::kA1R5G5B5, format::kX1R5G5B5},
        {32, 8, 0, format::kX8R8G8B8, format::kX8R8G8B8},
        {32, 8, 8, format::kA8R8G8B8, format::kX8R8G8B8},
        {32, 10, 2, format::kA2R10G10B10, format::kA2R10G10B10},
        {16, 5, 8, format::kUnknown, format::kUnknown},
        {24, 8, 0, format::kUnknown, format::kUnknown},
    };
    for (const Row& row : rows) {
        const DisplayModeEntry entry = ModeWithBits(row.color, row.green, row.alpha);
        EXPECT_EQ(BackBufferFormatOf(entry), row.backBuffer) << row.color << "/" << row.green << "/" << row.alpha;
        EXPECT_EQ(DisplayFormatOf(entry), row.display) << row.color << "/" << row.green << "/" << row.alpha;
    }
}

// Every back-buffer format read as bits comes back as a format of the same
// size and alpha; the 5-5-5 pair counts its spare bit as alpha.
TEST(ModeFormats, BackBufferFormatsRoundTripThroughBits) {
    struct Row {
        uint32_t format, color, red, green, blue, alpha, back;
    };
    const Row rows[] = {
        {format::kA8R8G8B8, 32, 8, 8, 8, 8, format::kA8R8G8B8},
        {format::kX8R8G8B8, 32, 8, 8, 8, 8, format::kA8R8G8B8},
        {format::kA2R10G10B10, 32, 10, 10, 10, 2, format::kA2R10G10B10},
        {format::kR5G6B5, 16, 5, 6, 5, 0, format::kR5G6B5},
        {format::kA1R5G5B5, 16, 5, 5, 5, 1, format::kA1R5G5B5},
        {format::kX1R5G5B5, 16, 5, 5, 5, 1, format::kA1R5G5B5},
    };
    for (const Row& row : rows) {
        DisplayModeEntry entry;
        ASSERT_TRUE(SetColorBits(row.format, entry)) << row.format;
        EXPECT_EQ(entry.colorBits, row.color) << row.format;
        EXPECT_EQ(entry.redBits, row.red) << row.format;
        EXPECT_EQ(entry.greenBits, row.green) << row.format;
        EXPECT_EQ(entry.blueBits, row.blue) << row.format;
        EXPECT_EQ(entry.alphaBits, row.alpha) << row.format;
        EXPECT_EQ(BackBufferFormatOf(entry), row.back) << row.format;
    }
    DisplayModeEntry untouched;
    EXPECT_FALSE(SetColorBits(format::kD16, untouched));
    EXPECT_EQ(untouched, DisplayModeEntry());
}

TEST(ModeFormats, DepthPairsMapBothWays) {
    struct Row {
        uint32_t format, depth, stencil;
    };
    const Row rows[] = {
        {format::kD15S1, 15, 1}, {format::kD16, 16, 0},    {format::kD24X8, 24, 0},
        {format::kD24X4S4, 24, 4}, {format::kD24S8, 24, 8}, {format::kD32, 32, 0},
    };
    for (const Row& row : rows) {
        DisplayModeEntry entry;
        ASSERT_TRUE(SetDepthBits(row.format, entry)) << row.format;
        EXPECT_EQ(entry.depthBits, row.depth) << row.format;
        EXPECT_EQ(entry.stencilBits, row.stencil) << row.format;
        EXPECT_EQ(DepthFormatOf(row.depth, row.stencil), row.format) << row.format;
    }
    // Pairs no format has.
    EXPECT_EQ(DepthFormatOf(16, 8), format::kUnknown);
    EXPECT_EQ(DepthFormatOf(32, 8), format::kUnknown);
    EXPECT_EQ(DepthFormatOf(24, 1), format::kUnknown);
    DisplayModeEntry entry;
    EXPECT_FALSE(SetDepthBits(format::kX8R8G8B8, entry));
}

TEST(ModeFormats, MultisampleListStartsWithNoneThenCountsSamples) {
    EXPECT_EQ(MultisampleTypeOf(1), 0u);
    EXPECT_EQ(MultisampleTypeOf(2), 2u);
    EXPECT_EQ(MultisampleTypeOf(16), 16u);
    EXPECT_EQ(MultisampleTypeOf(0), 0u);
    EXPECT_EQ(MultisampleTypeOf(17), 0u);
}

TEST(ModeFormats, GammaRampRisesByLevelAndClamps) {
    struct Row {
        int32_t level, index;
        uint16_t value;
    };
    const Row rows[] = {
        {0, 0, 0},       {0, 1, 256},         {0, 255, 65280}, {1, 0, 200},
        {300, 0, 60000}, {300, 21, 65376},    {300, 22, 65535}, {300, 255, 65535},
        {-5, 0, 0},      {-5, 4, 24},         {50, 255, 65535},
    };
    for (const Row& row : rows)
        EXPECT_EQ(GammaRampEntry(row.level, row.index), row.value) << row.level << "/" << row.index;
}

}  // namespace
}  // namespace zel
