#include "tools/content/picture/ContentPictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/content/picture/Canvas.h"
#include "tools/content/picture/Dusk.h"
#include "tools/content/picture/Noise.h"
#include "tools/content/picture/PictureWriter.h"

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

// --- The painted harbour

// One painting of the harbour at dusk, laid out for a picture. Positions
// are in display units: y 0 (top) .. 1 (bottom), x 0 .. aspect, where
// aspect is the width over the height the picture is shown at, so round
// things stay round when a picture is stretched.
struct HarbourView {
    float aspect;
    float horizon;
    Point sun;
    float sunRadius;
    Point tower;  // the foot of the lighthouse
    float towerHeight;
    float rocksFrom, rocksTo;  // the lighthouse's rocks across, x
    float rocksDepth;          // how far below the tower's foot they reach
    bool town;       // hills, houses and a boat on the left
};

class Harbour {
public:
    Harbour(Canvas& canvas, const HarbourView& view)
        : canvas_(canvas),
          view_(view),
          sx_(static_cast<float>(canvas.Width()) / view.aspect),
          sy_(static_cast<float>(canvas.Height())) {}

    void Paint() {
        SkyAndSea();
        if (view_.town) Hills();
        Headland();
        if (view_.town) {
            Town();
            Boat();
        }
        Lighthouse();
        Gulls();
    }

private:
    Point At(float x, float y) const { return {x * sx_, y * sy_}; }
    Point At(Point p) const { return At(p.x, p.y); }
    // Display units of a pixel centre.
    Point From(float px, float py) const { return {px / sx_, py / sy_}; }
    float Distance(Point a, Point b) const { return std::hypot(a.x - b.x, a.y - b.y); }

    std::vector<Point> Placed(const std::vector<Point>& points) const {
        std::vector<Point> placed;
        for (const Point& p : points) placed.push_back(At(p));
        return placed;
    }

    // A ridge from x0 to x1 whose height above `base` follows `profile`
    // (0..1 along the ridge), roughened by noise, closed below `base`.
    std::vector<Point> Ridge(float x0, float x1, float base, float height, float (*profile)(float), uint32_t seed) const {
        const TiledNoise rough{6, 1, 3, 0.5f, seed};
        std::vector<Point> points{At(x0, base + 0.01f)};
        for (int i = 0; i <= 48; ++i) {
            const float t = static_cast<float>(i) / 48.0f;
            const float h = height * profile(t) * (1.0f + 0.18f * rough.At(t, 0.5f));
            points.push_back(At(x0 + (x1 - x0) * t, base - h));
        }
        points.push_back(At(x1, base + 0.01f));
        return points;
    }

    void SkyAndSea() {
        const TiledNoise swell{6, 24, 3, 0.5f, 201};
        const TiledNoise glitter{6, 24, 2, 0.5f, 202};
        const float step = 1.0f / sy_;
        const float horizon = view_.horizon;
        canvas_.Paint([&](int x, int y) {
            const Point p = From(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            if (p.y < horizon) {
                const float elevation = (horizon - p.y) / horizon;
                const float fromSun = Distance(p, view_.sun);
                const Colour sky = SunHaze(DuskCloudySky(p.x / view_.aspect * 0.5f, elevation, step / horizon), fromSun * 1.6f);
                return Mix(sky, Rgb(0xffe6a6), Clamp01((view_.sunRadius - fromSun) * sy_ + 0.5f));
            }
            // The sea in perspective: `depth` grows towards the horizon and
            // the waves' streaks shrink with it.
            const float below = (p.y - horizon) / (1.0f - horizon);
            const float depth = 1.0f / (below + 0.12f);
            const float across = (p.x - view_.sun.x) * depth;
            Colour sea = Gradient({{0.0f, Rgb(0xd08a7c)}, {0.08f, Rgb(0x9a6a84)}, {0.4f, Rgb(0x3e3a6a)}, {1.0f, Rgb(0x1a1d40)}},
                                  below);
            const float wave = swell.At(across * 0.15f, depth * 0.9f);
            sea = Shade(sea, 1.0f + 0.14f * wave);
            // The sun's glitter path: bright broken streaks under the sun,
            // widening towards the viewer.
            const float gap = (p.x - view_.sun.x) / (0.015f + 0.13f * below);
            const float path = std::exp(-gap * gap);
            const float sparkle = Smooth(0.05f, 0.55f, glitter.At(across * 0.5f, depth * 2.5f));
            const float near = std::exp(-below / 0.3f);
            return Mix(sea, Rgb(0xffdca8), Clamp01(path * (sparkle * (0.7f + 0.3f * near) + near * near * 0.3f)));
        });
    }

    void Hills() {
        const float h = view_.horizon;
        const float a = view_.aspect;
        canvas_.Fill(Polygon(Ridge(-0.05f, a * 0.55f, h, 0.09f, [](float t) { return std::sin(3.1416f * t) * (1.0f - 0.4f * t); }, 211)),
                     Mix(Rgb(0x7a5c7e), DuskSky(0.05f), 0.3f));
        canvas_.Fill(Polygon(Ridge(-0.05f, a * 0.36f, h + 0.005f, 0.14f, [](float t) { return std::pow(1.0f - t, 0.8f) * (0.7f + 0.3f * std::sin(9.0f * t)); }, 212)),
                     [&](float, float y) {
                         return Gradient({{0.0f, Rgb(0x3e4150)}, {1.0f, Rgb(0x23283a)}}, (y / sy_ - (h - 0.14f)) / 0.15f);
                     });
    }

    void Headland() {
        const float base = view_.tower.y + view_.rocksDepth;
        const float x0 = view_.rocksFrom;
        const float x1 = view_.rocksTo;
        const auto profile = [](float t) { return std::min(1.0f, 1.8f * std::sin(3.1416f * t)); };
        const TiledNoise rocks{8, 4, 3, 0.5f, 222};
        canvas_.Fill(Polygon(Ridge(x0, x1, base, base - view_.tower.y + 0.004f, profile, 221)), [&](float x, float y) {
            // Rim light on the side facing the sun, broken rock faces.
            const Point p = From(x, y);
            const float t = (p.x - x0) / (x1 - x0);
            const Colour rock = Mix(Rgb(0x4a3648), Rgb(0x24202e), Smooth(0.0f, 0.35f, t));
            return Shade(rock, 1.0f + 0.25f * rocks.At(t, p.y * 4.0f));
        });
    }

    void Town() {
        const float base = view_.horizon + 0.03f;
        // The quay: a long low wall along the water.
        canvas_.Fill(Polygon(Placed({{-0.02f, base - 0.012f}, {0.5f, base - 0.008f}, {0.5f, base + 0.012f}, {-0.02f, base + 0.012f}})),
                     Rgb(0x2c2636));
        struct House {
            float x, width, height;
        };
        const House houses[] = {{0.05f, 0.07f, 0.06f}, {0.13f, 0.06f, 0.075f}, {0.2f, 0.08f, 0.055f}, {0.3f, 0.06f, 0.065f}, {0.38f, 0.07f, 0.05f}};
        int index = 0;
        for (const House& house : houses) {
            const float bottom = base - 0.01f;
            const float eave = bottom - house.height;
            const float x1 = house.x + house.width;
            canvas_.Fill(Polygon(Placed({{house.x, bottom}, {x1, bottom}, {x1, eave}, {house.x, eave}})), Rgb(0x5a4652));
            canvas_.Fill(Polygon(Placed({{house.x - 0.006f, eave + 0.002f}, {x1 + 0.006f, eave + 0.002f}, {house.x + house.width * 0.5f, eave - house.width * 0.35f}})),
                         Rgb(0x5e2f36));
            // A lit window or two.
            for (int w = 0; w < 2; ++w) {
                if (HashUnit(index, w, 231) < 0.35f) continue;
                const float wx = house.x + house.width * (0.22f + 0.4f * static_cast<float>(w));
                const float wy = eave + house.height * 0.3f;
                const Point centre = At(wx + house.width * 0.08f, wy + house.height * 0.15f);
                canvas_.Fill(Polygon(Placed({{wx, wy}, {wx + house.width * 0.16f, wy}, {wx + house.width * 0.16f, wy + house.height * 0.3f}, {wx, wy + house.height * 0.3f}})),
                             Rgb(0xffc870));
                const float reach = 0.02f * sy_;
                canvas_.Glow([=](float x, float y) {
                    const float d2 = ((x - centre.x) * (x - centre.x) + (y - centre.y) * (y - centre.y)) / (reach * reach);
                    return Rgb(0xffb050, 0.35f * std::exp(-d2));
                });
            }
            ++index;
        }
    }

    void Boat() {
        const float x = view_.aspect * 0.4f;
        const float y = view_.horizon + 0.1f;
        canvas_.Fill(Polygon(Placed({{x - 0.05f, y - 0.012f}, {x + 0.055f, y - 0.012f}, {x + 0.04f, y}, {x - 0.04f, y}})), Rgb(0x1d1a28));
        canvas_.Fill(Line(At(x, y - 0.012f), At(x, y - 0.1f)), Rgb(0x1d1a28));
        canvas_.Fill(Polygon(Placed({{x + 0.004f, y - 0.095f}, {x + 0.004f, y - 0.018f}, {x + 0.045f, y - 0.018f}})), Rgb(0xd9b0a0));
        canvas_.Fill(Polygon(Placed({{x - 0.004f, y - 0.085f}, {x - 0.004f, y - 0.018f}, {x - 0.035f, y - 0.018f}})), Rgb(0xb99098));
    }

    void Lighthouse() {
        const Point foot = view_.tower;
        const float height = view_.towerHeight;
        const float bottom = height * 0.085f;
        const float top = height * 0.055f;
        const float shaftTop = foot.y - height * 0.8f;
        const float sunSide = view_.sun.x < foot.x ? -1.0f : 1.0f;
        // A tapered tower in four bands, rounded by the light from the sun's side.
        const Shape tower = Polygon(Placed({{foot.x - bottom, foot.y}, {foot.x + bottom, foot.y}, {foot.x + top, shaftTop}, {foot.x - top, shaftTop}}));
        canvas_.Fill(tower, [&](float x, float y) {
            const Point p = From(x, y);
            const float t = (foot.y - p.y) / (foot.y - shaftTop);
            const float half = bottom + (top - bottom) * t;
            const float across = (p.x - foot.x) / half * sunSide;
            const int band = static_cast<int>(t * 4.0f);
            const Colour paint = (band & 1) == 0 ? Rgb(0x9a3a36) : Rgb(0xd8c4bc);
            return Shade(paint, 0.45f + 0.5f * Smooth(-0.9f, 0.8f, across));
        });
        const float gallery = shaftTop;
        const float lantern = gallery - height * 0.1f;
        canvas_.Fill(Polygon(Placed({{foot.x - top * 1.5f, gallery + height * 0.012f}, {foot.x + top * 1.5f, gallery + height * 0.012f},
                                     {foot.x + top * 1.5f, gallery - height * 0.012f}, {foot.x - top * 1.5f, gallery - height * 0.012f}})),
                     Rgb(0x1e1a24));
        canvas_.Fill(Polygon(Placed({{foot.x - top * 0.8f, gallery}, {foot.x + top * 0.8f, gallery}, {foot.x + top * 0.8f, lantern}, {foot.x - top * 0.8f, lantern}})),
                     Rgb(0xfff0c0));
        canvas_.Fill(Polygon(Placed({{foot.x - top * 1.05f, lantern}, {foot.x + top * 1.05f, lantern}, {foot.x, lantern - height * 0.06f}})), Rgb(0x2a2030));
        // The lamp: a bright glow and two soft beams sweeping out.
        const Point lamp = At(foot.x, (gallery + lantern) * 0.5f);
        const float reach = height * sy_;
        canvas_.Glow([=](float x, float y) {
            const float dx = x - lamp.x;
            const float dy = y - lamp.y;
            const float d = std::sqrt(dx * dx + dy * dy) / reach;
            const float glow = 0.9f * std::exp(-d * d / 0.004f) + 0.35f * std::exp(-d * d / 0.04f);
            const float slope = std::fabs(dy + dx * 0.06f) / (std::fabs(dx) + 1e-3f);
            const float beam = std::exp(-slope * slope / 0.006f) * std::exp(-d / 1.2f) * Smooth(0.0f, 0.05f, d);
            return Rgb(0xffe6a8, Clamp01(glow + 0.4f * beam));
        });
    }

    void Gulls() {
        Random random(241);
        for (int i = 0; i < 4; ++i) {
            const Point at{random.Range(0.15f, 0.85f) * view_.aspect, random.Range(0.15f, 0.4f) * view_.horizon};
            const float span = random.Range(0.012f, 0.02f);
            const float lift = span * random.Range(0.2f, 0.45f);
            canvas_.Fill(Line(At(at.x - span, at.y - lift), At(at)), Rgb(0x2c2436));
            canvas_.Fill(Line(At(at), At(at.x + span, at.y - lift * 1.1f)), Rgb(0x2c2436));
        }
    }

    // A line about a pixel wide in the smaller pictures, wider in the large.
    Shape Line(Point a, Point b) const { return Stroke(a, b, std::max(1.0f, 0.0035f * sy_)); }

    Canvas& canvas_;
    HarbourView view_;
    float sx_;  // pixels per display unit across
    float sy_;  // pixels per display unit down
};

Canvas PaintHarbour(int width, int height, const HarbourView& view) {
    Canvas canvas(width, height, Rgb(0));
    Harbour(canvas, view).Paint();
    return canvas;
}

// The loading screen is stretched over a 4:3 screen; the preview window
// shows its picture as it is.
HarbourView HarbourPanorama(float aspect) {
    return {aspect, 0.6f, {aspect * 0.5f, 0.575f}, 0.045f, {aspect - 0.3f, 0.58f}, 0.33f, aspect - 0.52f, aspect + 0.3f, 0.04f, true};
}

// The emblem: the lighthouse in a gold-ringed circle on deep blue.
Canvas Logo(int size) {
    const float s = static_cast<float>(size);
    const HarbourView view{1.0f, 0.66f, {0.68f, 0.63f}, 0.04f, {0.42f, 0.7f}, 0.5f, 0.15f, 1.1f, 0.05f, false};
    const Canvas scene = PaintHarbour(size, size, view);
    Canvas canvas(size, size, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float t = (static_cast<float>(x + y) + 1.0f) / (2.0f * s);
        return Gradient({{0.0f, Rgb(0x1c2450)}, {1.0f, Rgb(0x0d1128)}}, t);
    });
    const Point centre{s * 0.5f, s * 0.5f};
    const Shape inside = Circle(centre, s * 0.42f);
    canvas.Compose(scene, [&](float x, float y) { return 0.5f - inside.distance(x, y); });
    const Canvas::Shader gold = [&](float, float y) {
        return Gradient({{0.0f, Rgb(0xf4d98c)}, {0.5f, Rgb(0xc89a3e)}, {1.0f, Rgb(0x8a6424)}}, y / s);
    };
    const Shape ring = Circle(centre, s * 0.455f);
    canvas.Fill({ring.x0, ring.y0, ring.x1, ring.y1,
                 [&](float x, float y) { return std::fabs(ring.distance(x, y) + s * 0.017f) - s * 0.02f; }},
                gold);
    canvas.Fill({ring.x0, ring.y0, ring.x1, ring.y1,
                 [&](float x, float y) { return std::fabs(ring.distance(x, y) - s * 0.018f) - s * 0.005f; }},
                gold);
    return canvas;
}

// A thin golden bracket in the corner a picture is placed at: two lines
// fading along their length, an inner finer pair and a bead at the corner.
Canvas CornerBracket(bool right, bool bottom) {
    const int width = 64;
    const int height = 32;
    auto at = [&](float x, float y) {
        return Point{right ? static_cast<float>(width) - x : x, bottom ? static_cast<float>(height) - y : y};
    };
    Canvas canvas(width, height, Rgb(0xd8b060, 0.0f));
    const Point corner = at(3.0f, 3.0f);
    const Canvas::Shader gold = [=](float x, float y) {
        const float along = std::hypot(x - corner.x, y - corner.y);
        return Rgb(0xe8c470, 1.0f - Smooth(22.0f, 60.0f, along));
    };
    canvas.Fill(Stroke(at(3.0f, 3.0f), at(61.0f, 3.0f), 2.0f), gold);
    canvas.Fill(Stroke(at(3.0f, 3.0f), at(3.0f, 29.0f), 2.0f), gold);
    const Colour fine = Rgb(0xc9a052, 0.75f);
    canvas.Fill(Stroke(at(8.0f, 8.0f), at(38.0f, 8.0f), 1.0f), fine);
    canvas.Fill(Stroke(at(8.0f, 8.0f), at(8.0f, 22.0f), 1.0f), fine);
    canvas.Fill(Circle(at(3.0f, 3.0f), 2.6f), Rgb(0xf6dc96));
    return canvas;
}

}  // namespace

int WriteCustomPictures(const std::string& directory) {
    int failed = 0;
    const std::string at = directory + "/";
    failed |= PaintHarbour(512, 512, HarbourPanorama(4.0f / 3.0f)).Write(at + "loader.jpg", false);
    failed |= CornerBracket(false, true).Write(at + "4loader_ld.tga", true);
    failed |= CornerBracket(true, true).Write(at + "4loader_rd.tga", true);
    failed |= CornerBracket(false, false).Write(at + "4loader_lu.tga", true);
    failed |= CornerBracket(true, false).Write(at + "4loader_ru.tga", true);
    for (const Glyph& glyph : kGlyphs) failed |= WriteGlyph(directory, glyph);
    const HarbourView tall{0.5f, 0.7f, {0.38f, 0.67f}, 0.035f, {0.2f, 0.8f}, 0.56f, -0.1f, 0.5f, 0.09f, false};
    failed |= PaintHarbour(160, 320, tall).Write(at + "settings.bmp", false);
    failed |= Logo(128).Write(at + "logo.bmp", false);
    failed |= PaintHarbour(152, 112, HarbourPanorama(152.0f / 112.0f)).Write(at + "preview.bmp", false);
    return failed != 0 ? 1 : 0;
}

}  // namespace zel
