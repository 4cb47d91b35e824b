// Frame capture: the back buffer read through the renderer interface and
// written as the 24-bit bottom-up BMP files the capture hook always wrote.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/FrameCapture.h"
#include "engine/core/Pointer.h"
#include "engine/core/Status.h"
#include "engine/resources/Image.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

// A renderer whose back buffer is a 3 × 2 picture: top row red, green,
// blue; bottom row white, black, grey.
class PictureRenderer : public test::RecordingRenderer {
public:
    int32_t ReadBackBuffer(Image& image) override {
        static const uint8_t kRgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 128, 128};
        image.SetFormat(Image::kFormatRGB);
        image.SetWidth(3);
        image.SetHeight(2);
        if (image.AllocateData() != kOk) return kOutOfMemory;
        std::copy(std::begin(kRgb), std::end(kRgb), image.GetData());
        return kOk;
    }
};

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(FrameCapture, WritesABottomUpBgrBmp) {
    const std::string path = (std::filesystem::temp_directory_path() / "zel-frame-capture.bmp").string();
    Pointer<PictureRenderer> renderer = new PictureRenderer();
    ASSERT_TRUE(CaptureBackBuffer(*renderer, path.c_str()));
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    // Two rows of 9 bytes, each padded to 12, after 54 bytes of headers.
    ASSERT_EQ(b.size(), 54u + 2 * 12);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), b.size());
    EXPECT_EQ(Le32(b, 10), 54u);
    EXPECT_EQ(Le32(b, 14), 40u);
    EXPECT_EQ(Le32(b, 18), 3u);
    EXPECT_EQ(Le32(b, 22), 2u);
    EXPECT_EQ(b[28], 24);
    const std::vector<uint8_t> rows(b.begin() + 54, b.end());
    const std::vector<uint8_t> expected = {255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0,   // bottom row first
                                           0,   0,   255, 0, 255, 0, 255, 0, 0, 0, 0, 0};  // blue, green, red
    EXPECT_EQ(rows, expected);
}

TEST(FrameCapture, WritesNothingWithoutABackBuffer) {
    const std::string path = (std::filesystem::temp_directory_path() / "zel-frame-capture-none.bmp").string();
    Pointer<test::RecordingRenderer> renderer = new test::RecordingRenderer();
    EXPECT_FALSE(CaptureBackBuffer(*renderer, path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace zel
