#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/render/device/TexelUpload.h"
#include "engine/resources/Image.h"

namespace zel {
namespace {

// Image rows are stored bottom first; the level's rows run top down, so the
// image's first row lands in the level's last row, with the pixel swizzled
// to B, G, R, A and the pitch's padding left alone.
TEST(TexelUpload, RowsRunUpwardAndPixelsSwizzle) {
    struct Row {
        int32_t format;
        std::vector<uint8_t> image;  // 2 × 2
        std::vector<uint8_t> level;  // 2 rows of 2 texels, pitch = 2 texels + 1 padding byte
    };
    const Row rows[] = {
        {Image::kFormatRGB,
         {1, 2, 3, 4, 5, 6, /* second row */ 7, 8, 9, 10, 11, 12},
         {9, 8, 7, 255, 12, 11, 10, 255, 0xEE, 3, 2, 1, 255, 6, 5, 4, 255, 0xEE}},
        {Image::kFormatRGBA,
         {1, 2, 3, 4, 5, 6, 7, 8, /* second row */ 9, 10, 11, 12, 13, 14, 15, 16},
         {11, 10, 9, 12, 15, 14, 13, 16, 0xEE, 3, 2, 1, 4, 7, 6, 5, 8, 0xEE}},
        {Image::kFormatA8, {1, 2, /* second row */ 3, 4}, {3, 4, 0xEE, 1, 2, 0xEE}},
    };
    for (const Row& row : rows) {
        const int32_t texel = DeviceTexelSize(row.format);
        const int32_t pitch = 2 * texel + 1;
        std::vector<uint8_t> level(static_cast<size_t>(2 * pitch), 0xEE);
        ASSERT_TRUE(CopyImageToLevel(row.image.data(), 2, 2, row.format, level.data(), pitch)) << row.format;
        EXPECT_EQ(level, row.level) << row.format;
    }
}

TEST(TexelUpload, FormatsWithoutDeviceTexelsAreRefused) {
    uint8_t image[16] = {};
    uint8_t level[16] = {0xEE};
    for (int32_t format : {Image::kFormatRGBA16F, Image::kFormatNone, Image::kFormatDepthStencil, 42}) {
        EXPECT_EQ(DeviceTexelSize(format), 0) << format;
        EXPECT_FALSE(CopyImageToLevel(image, 1, 1, format, level, 8)) << format;
    }
    EXPECT_EQ(level[0], 0xEE);
}

}  // namespace
}  // namespace zel
