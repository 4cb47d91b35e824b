#include "tools/content/ContentPictures.h"

#include <cstdint>

#include "tools/content/PictureWriter.h"

namespace zel {

namespace {

// 5 × 7 glyphs, one row per byte, bit 4 the leftmost column.
struct Glyph {
    const char* file;
    uint8_t rows[7];
};

const Glyph kGlyphs[] = {
    {"digit_0.tga", {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {"digit_1.tga", {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {"digit_2.tga", {0x0E, 0x11, 0x01, 0x06, 0x08, 0x10, 0x1F}},
    {"digit_3.tga", {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {"digit_4.tga", {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {"digit_5.tga", {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {"digit_6.tga", {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {"digit_7.tga", {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {"digit_8.tga", {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {"digit_9.tga", {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {"digit_a.tga", {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}},
    {"digit_p.tga", {0x00, 0x00, 0x1E, 0x11, 0x1E, 0x10, 0x10}},
    {"digit_m.tga", {0x00, 0x00, 0x1A, 0x15, 0x15, 0x15, 0x15}},
    {"digit_dot.tga", {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {"digit_ddot.tga", {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
};

// A glyph scaled to 4 × 4 pixels per dot in a 32 × 32 picture with a
// one-dot margin; opaque white on transparent.
int WriteGlyph(const std::string& directory, const Glyph& glyph) {
    return WritePicture(directory + "/" + glyph.file, 32, 32, true, [&](int x, int y, int, int) {
        const int column = x / 4 - 1;
        const int row = y / 4;
        const bool on = column >= 0 && column < 5 && row < 7 && (glyph.rows[row] >> (4 - column) & 1) != 0;
        return on ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 0};
    });
}

// A vertical gradient with a band across the middle.
Painter Banded(Rgba top, Rgba bottom, Rgba band) {
    return [=](int, int y, int, int height) {
        const float t = static_cast<float>(y) / static_cast<float>(height - 1);
        const bool inBand = y > height * 2 / 5 && y < height * 3 / 5;
        return inBand ? band : Blend(top, bottom, t);
    };
}

// An L-shaped corner mark, opaque where drawn.
Painter Corner(bool right, bool top) {
    return [=](int x, int y, int width, int height) {
        const int fromSide = right ? width - 1 - x : x;
        const int fromEdge = top ? y : height - 1 - y;
        const bool on = fromSide < 6 || fromEdge < 6;
        return on ? Rgba{240, 200, 60, 255} : Rgba{0, 0, 0, 0};
    };
}

}  // namespace

int WriteCustomPictures(const std::string& directory) {
    int failed = 0;
    const std::string at = directory + "/";
    failed |= WritePicture(at + "loader.jpg", 256, 256, false,
                           Banded({20, 30, 80, 255}, {0, 0, 0, 255}, {200, 160, 40, 255}));
    failed |= WritePicture(at + "4loader_ld.tga", 64, 32, true, Corner(false, false));
    failed |= WritePicture(at + "4loader_rd.tga", 64, 32, true, Corner(true, false));
    failed |= WritePicture(at + "4loader_lu.tga", 64, 32, true, Corner(false, true));
    failed |= WritePicture(at + "4loader_ru.tga", 64, 32, true, Corner(true, true));
    for (const Glyph& glyph : kGlyphs) failed |= WriteGlyph(directory, glyph);
    failed |= WritePicture(at + "settings.bmp", 160, 320, false,
                           Banded({10, 40, 90, 255}, {0, 10, 30, 255}, {200, 160, 40, 255}));
    failed |= WritePicture(at + "logo.bmp", 128, 128, false,
                           Banded({60, 10, 10, 255}, {10, 10, 10, 255}, {230, 230, 230, 255}));
    failed |= WritePicture(at + "preview.bmp", 152, 112, false,
                           Banded({20, 30, 80, 255}, {0, 0, 0, 255}, {200, 160, 40, 255}));
    return failed != 0 ? 1 : 0;
}

}  // namespace zel
