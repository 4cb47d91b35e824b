#include "tools/content/picture/ShowTextures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/math/MathConstants.h"
#include "tools/content/picture/Canvas.h"
#include "tools/content/picture/Dusk.h"
#include "tools/content/picture/Noise.h"

namespace zel {

namespace {

// A pixel centre as a fraction of the picture: one tile spans 0..1.
float Unit(int pixel, int size) { return (static_cast<float>(pixel) + 0.5f) / static_cast<float>(size); }

// The shorter way between two positions on a circle of length `period`.
float WrappedGap(float a, float b, float period) {
    const float gap = std::fabs(a - b);
    return std::min(gap, period - gap);
}

Colour Grey(float level) { return {level, level, level, 1.0f}; }

// A thin tapered blade from `base` to `tip`.
Shape Blade(Point base, Point tip, float width) {
    const float dx = tip.x - base.x;
    const float dy = tip.y - base.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    const float nx = -dy / length * width * 0.5f;
    const float ny = dx / length * width * 0.5f;
    return Polygon({{base.x - nx, base.y - ny}, {base.x + nx, base.y + ny}, tip});
}

// --- Ground

Canvas Grass(int width, int height) {
    const TiledNoise patches{3, 3, 4, 0.5f, 11};
    const TiledNoise dry{2, 2, 3, 0.5f, 12};
    const TiledNoise fine{32, 32, 2, 0.5f, 13};
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        Colour c = Mix(Rgb(0x223a1b), Rgb(0x466026), Clamp01(0.5f + patches.At(u, v)));
        c = Mix(c, Rgb(0x6f6a33), Clamp01(dry.At(u, v) * 1.2f) * 0.6f);
        return Shade(c, 0.92f + 0.12f * fine.At(u, v));
    });
    // Blades seen from above at a slant: short strokes leaning every way.
    Random random(14);
    const float scale = static_cast<float>(width) / 256.0f;
    for (int i = 0; i < 3000; ++i) {
        const Point base{random.Range(0.0f, static_cast<float>(width)), random.Range(0.0f, static_cast<float>(height))};
        const float angle = random.Range(-1.1f, 1.1f);
        const float length = random.Range(5.0f, 12.0f) * scale;
        const Point tip{base.x + std::sin(angle) * length, base.y - std::cos(angle) * length};
        const float lightness = random.Unit();
        const float warm = Clamp01(1.4f * dry.At(base.x / static_cast<float>(width), base.y / static_cast<float>(height)));
        Colour colour = Gradient({{0.0f, Rgb(0x1a3015)}, {0.5f, Rgb(0x3a5622)}, {0.9f, Rgb(0x5d7430)}, {1.0f, Rgb(0x84803f)}},
                                 lightness);
        colour = Mix(colour, Rgb(0x7d6f3a), warm * 0.4f * lightness);
        canvas.Fill(Blade(base, tip, random.Range(1.3f, 2.2f) * scale), WithAlpha(colour, 0.9f), 1.0f, true);
    }
    return canvas;
}

Canvas Sand(int width, int height) {
    const TiledNoise warp{4, 4, 3, 0.5f, 31};
    const TiledNoise tone{3, 3, 4, 0.5f, 32};
    const TiledNoise grain{64, 64, 1, 0.5f, 33};
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        // Wind ripples: whole waves across the tile, bent by the noise.
        const float ripple = std::sin(2.0f * kPi * (6.0f * u + 2.0f * v) + 2.5f * warp.At(u, v));
        Colour c = Mix(Rgb(0xa98c69), Rgb(0xcfae84), Clamp01(0.55f + tone.At(u, v)));
        float k = 1.0f + 0.05f * ripple + 0.05f * grain.At(u, v) + 0.1f * (HashUnit(x, y, 34) - 0.5f);
        const float speck = HashUnit(x, y, 35);
        if (speck > 0.992f) k *= 0.7f;
        if (speck < 0.006f) k *= 1.15f;
        return Shade(c, k);
    });
    return canvas;
}

Canvas Rock(int width, int height) {
    const TiledCells cells{4, 4, 41};
    const TiledNoise detail{12, 12, 5, 0.55f, 42};
    const TiledNoise hue{2, 2, 3, 0.5f, 43};
    const TiledNoise warp{3, 3, 3, 0.5f, 44};
    const TiledNoise strata{2, 12, 3, 0.5f, 45};
    const TiledNoise showCrack{3, 3, 2, 0.5f, 46};
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        const float wu = u + 0.06f * warp.At(u, v);
        const float wv = v + 0.06f * warp.At(u + 0.37f, v + 0.71f);
        const CellSample cell = cells.At(wu, wv);
        // Cracks where two faces meet; only some of them are open.
        const float open = Smooth(-0.2f, 0.3f, showCrack.At(u, v));
        const float crack = 1.0f - open * Smooth(0.06f, 0.0f, cell.second - cell.nearest);
        const float face = static_cast<float>(cell.id & 255u) / 255.0f;
        const float d = detail.At(u, v);
        // Faint layering, and a face tilted towards the light or away.
        const float layers = strata.At(wu, wv);
        const Colour base = Mix(Rgb(0x6c6863), Rgb(0x76604c), Clamp01(0.5f + hue.At(u, v) * 1.5f));
        return Shade(base, (0.88f + 0.2f * face) * (1.0f + 0.35f * d + 0.1f * layers) * (0.4f + 0.6f * crack));
    });
    return canvas;
}

// --- Buildings

// The facade's openings in a 256-unit square, scaled to the picture.
struct Opening {
    float x0, y0, x1, y1;
};

Shape Rect(float x0, float y0, float x1, float y1) { return Polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}); }

Canvas Wall(int width, int height) {
    const float s = static_cast<float>(width) / 256.0f;
    const Opening windows[] = {{34 * s, 52 * s, 78 * s, 118 * s}, {178 * s, 52 * s, 222 * s, 118 * s}};
    const Opening door{104 * s, 142 * s, 152 * s, static_cast<float>(height) - 6 * s};
    const TiledNoise tone{3, 3, 4, 0.5f, 51};
    const TiledNoise grain{48, 48, 2, 0.5f, 52};
    const TiledNoise stain{4, 4, 4, 0.55f, 53};
    const TiledNoise drip{24, 3, 3, 0.5f, 54};
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        const float fx = static_cast<float>(x) + 0.5f;
        const float fy = static_cast<float>(y) + 0.5f;
        Colour c = Shade(Rgb(0xd9bd96), 1.0f + 0.05f * tone.At(u, v) + 0.035f * grain.At(u, v));
        c = Mix(c, Rgb(0xa58c6c), Smooth(0.1f, 0.6f, stain.At(u, v)) * 0.3f);
        // Rain has run down from the sills.
        for (const Opening& w : windows) {
            if (fx < w.x0 - 4 * s || fx > w.x1 + 4 * s || fy < w.y1) continue;
            const float fade = Clamp01(1.0f - (fy - w.y1) / (80.0f * s));
            c = Shade(c, 1.0f - 0.22f * fade * Clamp01(0.5f + drip.At(u, v)));
        }
        // Damp rising from the ground, and the eaves' shadow at the top.
        const float damp = Smooth(0.0f, 10.0f * s, fy - (static_cast<float>(height) - 26.0f * s) + 8.0f * s * stain.At(u, 0.5f));
        c = Mix(c, Rgb(0x8f7a5f), damp * 0.45f);
        return Shade(c, 1.0f - 0.3f * Smooth(16.0f * s, 0.0f, fy));
    });

    const Colour stone = Rgb(0xe6dac4);
    const Colour frame = Rgb(0xeee8dc);
    for (const Opening& w : windows) {
        const float shutter = 18.0f * s;
        const float slat = 5.0f * s;
        const Canvas::Shader slats = [=](float, float y) {
            const float phase = std::fmod(y - w.y0, slat) / slat;
            return Shade(Rgb(0x4a7459), 0.75f + 0.3f * Smooth(0.15f, 0.6f, phase));
        };
        canvas.Fill(Rect(w.x0 - 5 * s - shutter, w.y0 - 5 * s, w.x0 - 5 * s, w.y1 + 5 * s), slats);
        canvas.Fill(Rect(w.x1 + 5 * s, w.y0 - 5 * s, w.x1 + 5 * s + shutter, w.y1 + 5 * s), slats);
        canvas.Fill(Rect(w.x0 - 5 * s, w.y0 - 5 * s, w.x1 + 5 * s, w.y1 + 5 * s), stone);
        canvas.Fill(Rect(w.x0, w.y0, w.x1, w.y1), frame);
        // Dark glass with the evening sky's faint reflection across it.
        const Canvas::Shader glass = [=](float x, float y) {
            const float t = (y - w.y0) / (w.y1 - w.y0);
            const float streak = Smooth(0.18f, 0.0f, std::fabs((x - w.x0) / (w.x1 - w.x0) + t * 0.6f - 0.55f));
            return Mix(Gradient({{0.0f, Rgb(0x39405a)}, {1.0f, Rgb(0x1a1e2c)}}, t), Rgb(0x7d6a86), streak * 0.45f);
        };
        canvas.Fill(Rect(w.x0 + 4 * s, w.y0 + 4 * s, w.x1 - 4 * s, w.y1 - 4 * s), glass);
        const float mid = (w.x0 + w.x1) * 0.5f;
        const float bar = w.y0 + (w.y1 - w.y0) * 0.4f;
        canvas.Fill(Rect(mid - 1.5f * s, w.y0, mid + 1.5f * s, w.y1), frame);
        canvas.Fill(Rect(w.x0, bar - 1.5f * s, w.x1, bar + 1.5f * s), frame);
        canvas.Fill(Rect(w.x0 - 8 * s, w.y1 + 11 * s, w.x1 + 8 * s, w.y1 + 15 * s), Rgb(0x000000, 0.25f), 3.0f);
        canvas.Fill(Rect(w.x0 - 8 * s, w.y1 + 5 * s, w.x1 + 8 * s, w.y1 + 11 * s), Rgb(0xd5c8b0));
    }

    // The door: a stone surround, a blue leaf of planks with two panels,
    // a brass knob and a step.
    canvas.Fill(Rect(door.x0 - 7 * s, door.y0 - 7 * s, door.x1 + 7 * s, door.y1), stone);
    const Canvas::Shader leaf = [=](float x, float y) {
        const float plank = std::fmod(x - door.x0, 12.0f * s) / s;
        const float groove = plank < 1.2f ? 0.7f : 1.0f;
        const float recess = 1.0f - 0.35f * Smooth(10.0f * s, 0.0f, y - door.y0);
        return Shade(Rgb(0x2e5d76), groove * recess * (0.95f + 0.1f * HashUnit(static_cast<int>(x / s), 0, 55)));
    };
    canvas.Fill(Rect(door.x0, door.y0, door.x1, door.y1), leaf);
    for (float top : {door.y0 + 12 * s, door.y0 + 62 * s}) {
        canvas.Fill(Rect(door.x0 + 7 * s, top, door.x1 - 7 * s, top + 38 * s), Rgb(0x163040, 0.55f), 2.0f * s);
        canvas.Fill(Rect(door.x0 + 9 * s, top + 2 * s, door.x1 - 9 * s, top + 36 * s), Rgb(0x3a6e88, 0.6f), 2.0f * s);
    }
    canvas.Fill(Circle({door.x1 - 8 * s, door.y0 + 58 * s}, 2.8f * s), Rgb(0xc9a545));
    canvas.Fill(Rect(door.x0 - 12 * s, door.y1, door.x1 + 12 * s, static_cast<float>(height)), Rgb(0xb9ad9a));
    return canvas;
}

Canvas Roof(int width, int height) {
    const int rows = 8;
    const int columns = 8;
    const float tileWidth = static_cast<float>(width) / columns;
    const float rowHeight = static_cast<float>(height) / rows;
    const float lip = 6.0f * rowHeight / 32.0f;
    const TiledNoise grain{32, 32, 2, 0.5f, 61};
    const TiledNoise weather{3, 3, 3, 0.5f, 62};
    // Where tile `column` of row `row` sits under x, and x across it 0..1.
    auto tileAt = [&](int row, float x, int& column) {
        const float shifted = x - ((row & 1) != 0 ? tileWidth * 0.5f : 0.0f);
        const float cell = std::floor(shifted / tileWidth);
        column = static_cast<int>(cell);
        return shifted / tileWidth - cell;
    };
    // The rounded lower end of the tiles of a row.
    auto lowerEdge = [&](int row, float x) {
        int column = 0;
        const float across = tileAt(row, x, column);
        return static_cast<float>(row + 1) * rowHeight - lip * (1.0f - std::sin(kPi * across));
    };
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float fx = static_cast<float>(x) + 0.5f;
        const float fy = static_cast<float>(y) + 0.5f;
        int row = y / static_cast<int>(rowHeight);
        // Below the row's rounded ends the next row shows.
        if (fy > lowerEdge(row, fx)) ++row;
        int column = 0;
        const float across = tileAt(row, fx, column);
        const uint32_t id = HashCell((column % columns + columns) % columns, row % rows, 63);
        Colour c = Mix(Rgb(0x9c3f29), Rgb(0xc36a40), static_cast<float>(id & 255u) / 255.0f);
        if ((id >> 8) % 6 == 0) c = Mix(c, Rgb(0x6f5445), 0.35f);
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        c = Shade(c, 1.0f + 0.08f * grain.At(u, v) + 0.08f * weather.At(u, v));
        // Round tiles: lit along their crest, dark where they meet; shadowed
        // just under the row above; a dark rim along their own end.
        const float crest = 0.45f + 0.6f * std::pow(std::max(0.0f, std::sin(kPi * (across - 0.08f) / 0.92f)), 0.6f);
        const float under = fy - lowerEdge(row - 1, fx);
        const float shadow = 0.5f + 0.5f * Smooth(0.0f, 9.0f * rowHeight / 32.0f, under);
        const float rim = fy > lowerEdge(row, fx) - 1.5f ? 0.75f : 1.0f;
        return Shade(c, crest * shadow * rim);
    });
    return canvas;
}

// Courses of quay stone: rows of blocks of varied length, laid from a
// random start so the joints do not line up; the rows wrap across the
// picture.
struct Block {
    float x0, x1;
};

struct Course {
    float y0, y1;
    std::vector<Block> blocks;
};

std::vector<Course> QuayCourses(int width, int height) {
    const float sx = static_cast<float>(width) / 256.0f;
    const float sy = static_cast<float>(height) / 256.0f;
    const float heights[] = {70, 58, 66, 62};
    std::vector<Course> courses;
    float y = 0.0f;
    Random random(71);
    for (float h : heights) {
        Course course{y, y + h * sy, {}};
        const float start = random.Range(0.0f, static_cast<float>(width));
        const float end = start + static_cast<float>(width);
        float x = start;
        while (x < end) {
            const float left = end - x;
            float length = random.Range(80.0f, 140.0f) * sx;
            if (left < 200.0f * sx) length = left > 140.0f * sx ? left * 0.5f : left;
            course.blocks.push_back({x, x + length});
            x += length;
        }
        courses.push_back(course);
        y += h * sy;
    }
    return courses;
}

// How far inside its block a pixel is (to the nearest joint, in pixels)
// and which block it is.
struct BlockHit {
    float inside;
    uint32_t id;
};

BlockHit FindBlock(const std::vector<Course>& courses, float x, float y, int width) {
    for (size_t c = 0; c < courses.size(); ++c) {
        const Course& course = courses[c];
        if (y < course.y0 || y >= course.y1) continue;
        for (size_t b = 0; b < course.blocks.size(); ++b) {
            const Block& block = course.blocks[b];
            for (float px : {x, x + static_cast<float>(width)}) {
                if (px < block.x0 || px >= block.x1) continue;
                const float inside = std::min(std::min(px - block.x0, block.x1 - px), std::min(y - course.y0, course.y1 - y));
                return {inside, static_cast<uint32_t>(c * 64 + b)};
            }
        }
    }
    return {0.0f, 0};
}

// The quay stone's relief, 0 (deep joint) .. 1, shared by its colour and
// height maps so the two match.
struct QuayStone {
    std::vector<Course> courses;
    TiledNoise chip{16, 16, 2, 0.5f, 72};
    TiledNoise detail{8, 8, 5, 0.6f, 73};
    int width;

    struct Sample {
        float relief;  // 0 in the joints, up to about 1 on the faces
        float face;    // 0 in the joints, 1 on the faces
        uint32_t id;
    };

    Sample At(int x, int y, int height) const {
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        const BlockHit hit = FindBlock(courses, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, width);
        const float s = static_cast<float>(width) / 256.0f;
        // Chipped arrises: the joint's edge wanders a little.
        const float inside = hit.inside + 1.6f * s * chip.At(u, v);
        const float face = Smooth(2.5f * s, 8.0f * s, inside);
        const float relief = 0.15f + face * (0.7f + 0.15f * detail.At(u, v));
        return {relief, face, hit.id};
    }
};

Canvas Stone(int width, int height) {
    const QuayStone quay{.courses = QuayCourses(width, height), .width = width};
    const TiledNoise tone{4, 4, 3, 0.5f, 74};
    const TiledNoise pits{48, 48, 1, 0.5f, 75};
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const QuayStone::Sample sample = quay.At(x, y, height);
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        const float pick = static_cast<float>(HashBits(sample.id * 2654435761U + 76U) & 255u) / 255.0f;
        Colour block = Gradient({{0.0f, Rgb(0x65625d)}, {0.4f, Rgb(0x7b7266)}, {0.75f, Rgb(0x8a8275)}, {1.0f, Rgb(0x948f86)}}, pick);
        block = Shade(block, 1.0f + 0.3f * quay.detail.At(u, v) + 0.1f * tone.At(u, v) -
                                 0.1f * Smooth(0.3f, 0.7f, pits.At(u, v)) + 0.06f * (HashUnit(x, y, 78) - 0.5f));
        // Sea damp darkens the foot of every block.
        const BlockHit hit = FindBlock(quay.courses, static_cast<float>(x), static_cast<float>(y) + 8.0f, width);
        if (hit.id != sample.id) block = Mix(block, Rgb(0x4f5248), 0.25f);
        const Colour mortar = Shade(Rgb(0x4e483f), 0.9f + 0.2f * HashUnit(x, y, 77));
        // Lit from the upper left: the relief's slope brightens or darkens.
        const float slope = sample.relief - quay.At((x + width - 1) % width, (y + height - 1) % height, height).relief;
        return Shade(Mix(mortar, block, sample.face), 1.0f + 2.0f * slope);
    });
    return canvas;
}

Canvas StoneHeight(int width, int height) {
    const QuayStone quay{.courses = QuayCourses(width, height), .width = width};
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) { return Grey(quay.At(x, y, height).relief); });
    return canvas;
}

Canvas Wood(int width, int height) {
    const int planks = 8;
    const float plankHeight = static_cast<float>(height) / planks;
    const float s = static_cast<float>(width) / 256.0f;
    const TiledNoise grain{2, 48, 3, 0.5f, 81};
    const TiledNoise warp{3, 12, 2, 0.5f, 82};
    const TiledNoise cracks{1, 40, 2, 0.5f, 83};
    const TiledNoise silver{4, 4, 3, 0.5f, 84};
    Canvas canvas(width, height, Rgb(0));
    // One butt joint per plank, where its board ends and the next begins.
    auto joint = [&](int plank) { return HashUnit(plank, 0, 85) * static_cast<float>(width); };
    canvas.Paint([&](int x, int y) {
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        const int plank = static_cast<int>(static_cast<float>(y) / plankHeight);
        const float across = static_cast<float>(y) + 0.5f - static_cast<float>(plank) * plankHeight;
        const float offset = HashUnit(plank, 1, 85);
        const float fromJoint = WrappedGap(static_cast<float>(x) + 0.5f, joint(plank), static_cast<float>(width));
        if (across < 2.0f * s || fromJoint < 1.0f * s) return Rgb(0x241e1a);
        const float g = grain.At(u + offset, v);
        const float rings = 0.5f + 0.5f * std::sin(across * 0.9f / s + 12.0f * warp.At(u + offset, v));
        Colour c = Mix(Rgb(0x6b5643), Rgb(0x9a948a), Clamp01(0.55f + 0.8f * silver.At(u, v)));
        c = Shade(c, 0.88f + 0.14f * g + 0.08f * rings + 0.06f * (offset - 0.5f));
        const float crack = Smooth(0.05f, 0.0f, std::fabs(cracks.At(u + offset, v)));
        const float edge = Smooth(0.0f, 5.0f * s, std::min(across - 2.0f * s, plankHeight - across));
        const float end = Smooth(1.0f * s, 8.0f * s, fromJoint);
        return Shade(c, (1.0f - 0.45f * crack) * (0.7f + 0.3f * edge) * (0.8f + 0.2f * end));
    });
    for (int plank = 0; plank < planks; ++plank) {
        const float middle = (static_cast<float>(plank) + 0.5f) * plankHeight + s;
        for (float side : {-5.0f, 5.0f}) {
            for (float along : {-8.0f, 8.0f}) {
                const Point at{joint(plank) + side * s, middle + along * s};
                canvas.Fill(Circle(at, 2.6f * s), Rgb(0x6b4a32, 0.5f), 1.5f, true);
                canvas.Fill(Circle(at, 1.5f * s), Rgb(0x2f2a27), 1.0f, true);
            }
        }
    }
    return canvas;
}

// Long plates split by deep fissures: cellular noise stretched along the
// trunk.
Canvas Bark(int width, int height) {
    const TiledCells plates{9, 2, 91};
    const TiledNoise warp{6, 3, 2, 0.5f, 92};
    const TiledNoise fibres{32, 4, 3, 0.5f, 93};
    const TiledNoise detail{16, 16, 2, 0.5f, 94};
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        const CellSample cell = plates.At(u + 0.03f * warp.At(u, v), v + 0.05f * warp.At(u + 0.5f, v));
        const float plate = Smooth(0.05f, 0.4f, cell.second - cell.nearest);
        const float tone = static_cast<float>(cell.id & 255u) / 255.0f;
        const float r = Clamp01(std::sqrt(plate) * (0.6f + 0.25f * tone + 0.3f * fibres.At(u, v)) + 0.06f * detail.At(u, v));
        return Gradient({{0.0f, Rgb(0x1c1512)}, {0.3f, Rgb(0x44372e)}, {0.7f, Rgb(0x6e6054)}, {1.0f, Rgb(0x948a7e)}}, r);
    });
    return canvas;
}

Canvas Lighthouse(int width, int height) {
    const TiledNoise wobble{8, 1, 2, 0.5f, 101};
    const TiledNoise stains{6, 6, 4, 0.55f, 102};
    const TiledNoise drips{32, 2, 3, 0.5f, 103};
    const TiledNoise grain{64, 64, 1, 0.5f, 104};
    const float band = static_cast<float>(height) / 4.0f;
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        const float at = static_cast<float>(y) + 0.5f + 1.2f * wobble.At(u, 0.5f);
        // Red on even bands, white on odd ones, the edge softened over a
        // pixel or so (a hard edge rings in the JPEG).
        const float within = std::fmod(at, 2.0f * band);
        const float toWhite = Smooth(-1.0f, 1.0f, within - band) * Smooth(1.0f, -1.0f, within - 2.0f * band) +
                              Smooth(1.0f, -1.0f, within);
        Colour c = Mix(Rgb(0xae332b), Rgb(0xe6e0d5), Clamp01(toWhite));
        c = Shade(c, 1.0f + 0.05f * grain.At(u, v) - 0.04f * (HashUnit(x, y, 105) - 0.5f));
        c = Mix(c, Rgb(0x8a7c6c), Smooth(0.1f, 0.6f, stains.At(u, v)) * 0.4f);
        // Rust-brown streaks run down from the top of each band, fading.
        const float below = std::fmod(at, band) / band;
        const float streak = Smooth(0.2f, 0.7f, drips.At(u, v)) * (1.0f - 0.7f * below);
        c = Mix(c, Rgb(0x7a5a44), streak * 0.45f);
        // Grime thickens towards the foot of the tower.
        return Shade(c, 1.0f - 0.12f * v * Clamp01(0.6f + stains.At(u + 0.5f, v)));
    });
    return canvas;
}

Canvas Car(int width, int height) {
    const float h = static_cast<float>(height);
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float fx = static_cast<float>(x) + 0.5f;
        const float v = Unit(y, height);
        const float flake = 1.0f + 0.05f * (HashUnit(x, y, 111) - 0.5f);
        // The glass strip: the sky above reflected, darker down, pillars
        // twice around.
        if (v > 0.07f && v < 0.33f) {
            const float t = (v - 0.07f) / 0.26f;
            const float pillar = WrappedGap(std::fmod(fx, static_cast<float>(width) * 0.5f), 0.0f,
                                            static_cast<float>(width) * 0.5f);
            if (pillar < 3.0f * h / 128.0f) return Rgb(0x0f1626);
            const float phase = std::fmod(fx + v * h * 0.8f, static_cast<float>(width) * 0.5f) / (static_cast<float>(width) * 0.5f);
            const float glint = Smooth(0.12f, 0.2f, phase) * Smooth(0.38f, 0.3f, phase);
            Colour glass = Gradient({{0.0f, Rgb(0xa7b6cf)}, {1.0f, Rgb(0x4e5e7e)}}, t);
            glass = Mix(glass, Rgb(0xe9c7c4), glint * 0.35f);
            const float rim = std::min(v - 0.07f, 0.33f - v) * h;
            return rim < 1.5f ? Rgb(0x141a28) : glass;
        }
        if (v >= 0.33f && v < 0.345f) return Rgb(0xc3c8d2);
        Colour paint = Gradient({{0.0f, Rgb(0x29458a)}, {0.35f, Rgb(0x1d3a7a)}, {0.65f, Rgb(0x15306a)}, {1.0f, Rgb(0x0a1638)}}, v);
        // The evening sky caught along the shoulder.
        const float sheen = std::exp(-((v - 0.42f) / 0.035f) * ((v - 0.42f) / 0.035f));
        paint = Mix(paint, Rgb(0xc78a97), sheen * 0.3f);
        return Shade(paint, flake);
    });
    return canvas;
}

// --- Sky and water

// The dome: u around the horizon, v from the zenith (0) to the horizon
// (1); the sun has set at u = 0.25.
Canvas Sky(int width, int height) {
    Canvas canvas(width, height, Rgb(0));
    const float step = 1.0f / static_cast<float>(height);
    canvas.Paint([&](int x, int y) {
        const float u = Unit(x, width);
        const float elevation = 1.0f - Unit(y, height);
        const float around = WrappedGap(u, 0.25f, 1.0f) * 2.0f;
        const float distance = std::sqrt(around * around + elevation * elevation * 1.5f);
        return SunHaze(DuskCloudySky(u, elevation, step), distance);
    });
    return canvas;
}

Canvas WaterHeight(int width, int height) {
    struct Wave {
        int kx, ky;
        float amplitude, phase;
    };
    // Whole numbers of waves across the tile in each direction, so it tiles
    // exactly.
    const Wave waves[] = {{2, 1, 0.25f, 0.0f},  {-1, 3, 0.2f, 1.3f},  {4, -1, 0.16f, 2.1f}, {3, 4, 0.12f, 4.0f},
                          {-5, 2, 0.1f, 0.7f},  {6, 3, 0.08f, 5.2f},  {1, -7, 0.06f, 3.3f}, {-7, -5, 0.05f, 1.9f}};
    const TiledNoise ripples{16, 16, 3, 0.5f, 121};
    const TiledNoise bend{3, 3, 3, 0.5f, 122};
    float total = 0.2f;
    for (const Wave& w : waves) total += w.amplitude;
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float u = Unit(x, width);
        const float v = Unit(y, height);
        float sum = 0.2f * ripples.At(u, v);
        // The noise bends the wave fronts so the sum does not look like a
        // lattice; each wave gets its own bend.
        for (const Wave& w : waves) {
            const float phase = w.phase + 3.5f * bend.At(u + w.phase * 0.1f, v);
            sum += w.amplitude * std::sin(2.0f * kPi * (static_cast<float>(w.kx) * u + static_cast<float>(w.ky) * v) + phase);
        }
        return Grey(0.5f + 0.5f * sum / total);
    });
    return canvas;
}

// --- Foliage

// A leaf: pointed at both ends, along `angle`, from `base`.
Shape Leaf(Point base, float angle, float length, float breadth) {
    std::vector<Point> outline;
    for (int i = 0; i <= 6; ++i) {
        const float t = static_cast<float>(i) / 6.0f;
        outline.push_back({t, std::sin(kPi * t) * 0.5f});
    }
    for (int i = 5; i >= 1; --i) {
        const float t = static_cast<float>(i) / 6.0f;
        outline.push_back({t, -std::sin(kPi * t) * 0.5f});
    }
    return Polygon(Place(outline, base, length, breadth, angle));
}

Canvas Leaves(int size) {
    const float s = static_cast<float>(size) / 256.0f;
    const Point centre{128.0f * s, 118.0f * s};
    // Keep the transparent pixels leaf-coloured so filtering shows no halo.
    Canvas canvas(size, size, Rgb(0x2a4520, 0.0f));
    Random random(131);
    // A few twigs, seen through the gaps.
    for (int i = 0; i < 7; ++i) {
        const float angle = random.Range(-2.6f, -0.5f);
        const float length = random.Range(50.0f, 95.0f) * s;
        const Point from{128.0f * s + random.Range(-6.0f, 6.0f) * s, 250.0f * s};
        const Point to{centre.x + std::cos(angle) * length, centre.y + std::sin(angle) * length * 0.8f};
        canvas.Fill(Stroke(from, to, random.Range(2.0f, 4.0f) * s), Rgb(0x3b2c22));
    }
    // Sub-clumps make the outline irregular.
    struct Clump {
        Point at;
        float radius;
    };
    std::vector<Clump> clumps{{centre, 62.0f * s}};
    for (int i = 0; i < 8; ++i) {
        const float angle = 2.0f * kPi * (static_cast<float>(i) + random.Range(-0.3f, 0.3f)) / 8.0f;
        const float reach = random.Range(45.0f, 62.0f) * s;
        clumps.push_back({{centre.x + std::cos(angle) * reach, centre.y + std::sin(angle) * reach * 0.9f},
                          random.Range(26.0f, 40.0f) * s});
    }
    // Back leaves first and darker, front ones last and lit warm from the
    // upper left.
    const int count = 900;
    for (int i = 0; i < count; ++i) {
        const float depth = static_cast<float>(i) / count;
        const Clump& clump = clumps[static_cast<size_t>(random.Below(static_cast<int>(clumps.size())))];
        const float a = random.Range(0.0f, 2.0f * kPi);
        const float r = std::sqrt(random.Unit()) * clump.radius;
        const Point at{clump.at.x + std::cos(a) * r, clump.at.y + std::sin(a) * r};
        const float lx = (at.x - centre.x) / (100.0f * s);
        const float ly = (at.y - centre.y) / (100.0f * s);
        // Lit from the upper left, darker deep inside the crown.
        const float outer = Clamp01(std::sqrt(lx * lx + ly * ly) * 1.4f);
        const float light = Clamp01(0.5f - 0.2f * lx - 0.25f * ly + random.Range(-0.12f, 0.12f));
        const float lit = light * (0.55f + 0.25f * depth + 0.3f * outer);
        const Colour colour = Gradient(
            {{0.0f, Rgb(0x17301a)}, {0.35f, Rgb(0x2f5426)}, {0.7f, Rgb(0x5b7a30)}, {1.0f, Rgb(0x9c9a4a)}}, lit);
        const float angle = a + random.Range(-0.8f, 0.8f);
        const float length = random.Range(11.0f, 17.0f) * s;
        const Shape leaf = Leaf(at, angle, length, length * random.Range(0.4f, 0.55f));
        // A darker midrib down the leaf.
        const float ca = std::cos(angle);
        const float sa = std::sin(angle);
        canvas.Fill(leaf, [=](float x, float y) {
            const float off = std::fabs(-(x - at.x) * sa + (y - at.y) * ca);
            return Shade(colour, 0.82f + 0.18f * Smooth(0.0f, 1.6f * s, off));
        });
    }
    return canvas;
}

Canvas GrassBlades(int width, int height) {
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    Canvas canvas(width, height, Rgb(0x304a20, 0.0f));
    Random random(141);
    for (int i = 0; i < 90; ++i) {
        const float x = w * (0.08f + 0.84f * random.Unit());
        // Taller in the middle of the tuft.
        const float middle = 1.0f - std::fabs(x / w - 0.5f) * 1.6f;
        const float tall = h * random.Range(0.35f, 0.95f) * (0.45f + 0.55f * middle);
        const float lean = random.Range(-0.45f, 0.45f) * tall + (x / w - 0.5f) * tall * 0.6f;
        const float base = random.Range(3.0f, 6.0f) * w / 256.0f;
        std::vector<Point> left;
        std::vector<Point> right;
        for (int k = 0; k <= 8; ++k) {
            const float t = static_cast<float>(k) / 8.0f;
            const float cx = x + lean * t * t;
            const float cy = h + 1.0f - tall * t;
            const float half = base * 0.5f * (1.0f - t);
            left.push_back({cx - half, cy});
            right.push_back({cx + half, cy});
        }
        std::vector<Point> outline(left.begin(), left.end());
        outline.insert(outline.end(), right.rbegin(), right.rend());
        const float tone = random.Unit();
        canvas.Fill(Polygon(outline), [=](float, float y) {
            const float t = Clamp01((h - y) / tall);
            const Colour root = Mix(Rgb(0x1c3016), Rgb(0x2a4420), tone);
            const Colour tip = Mix(Rgb(0x6d8a36), Rgb(0xa59a50), tone);
            return Mix(root, tip, t);
        });
    }
    return canvas;
}

// --- Particles and lights

// Distance from the centre of a square picture, 0 at the centre, 1 at the
// middle of an edge.
float Radius(int x, int y, int size) {
    const float dx = 2.0f * Unit(x, size) - 1.0f;
    const float dy = 2.0f * Unit(y, size) - 1.0f;
    return std::sqrt(dx * dx + dy * dy);
}

Canvas Smoke(int size) {
    const TiledNoise puff{4, 4, 4, 0.5f, 151};
    Canvas canvas(size, size, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float r = Radius(x, y, size);
        const float n = puff.At(Unit(x, size), Unit(y, size));
        const float alpha = std::pow(Smooth(0.95f, 0.1f, r + 0.15f * n), 1.5f) * Clamp01(0.7f + 0.6f * n);
        const float light = 0.75f + 0.12f * n - 0.1f * (Unit(y, size) - 0.5f);
        return Colour{light, light, light * 1.03f, alpha};
    });
    return canvas;
}

Canvas Spray(int size) {
    const float s = static_cast<float>(size) / 64.0f;
    const TiledNoise mist{4, 4, 3, 0.5f, 161};
    Canvas canvas(size, size, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float r = Radius(x, y, size);
        const float alpha = 0.35f * Smooth(0.85f, 0.0f, r) * Clamp01(0.6f + mist.At(Unit(x, size), Unit(y, size)));
        return Colour{0.94f, 0.97f, 1.0f, alpha};
    });
    Random random(162);
    for (int i = 0; i < 70; ++i) {
        const float a = random.Range(0.0f, 2.0f * kPi);
        const float r = random.Unit() * 25.0f * s;
        const Point at{32.0f * s + std::cos(a) * r, 32.0f * s + std::sin(a) * r};
        const float size = random.Unit();
        canvas.Fill(Circle(at, (0.5f + 1.1f * size * size) * s), Rgb(0xf6fbff, random.Range(0.6f, 1.0f)));
    }
    return canvas;
}

Canvas Glow(int size) {
    Canvas canvas(size, size, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float r = Radius(x, y, size);
        const float alpha = std::pow(Clamp01(1.0f - r), 2.2f);
        return WithAlpha(Mix(Rgb(0xfff6e0), Rgb(0xffc060), Smooth(0.0f, 0.7f, r)), alpha);
    });
    return canvas;
}

Canvas FlareCanvas(int size) {
    Canvas canvas(size, size, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float dx = 2.0f * Unit(x, size) - 1.0f;
        const float dy = 2.0f * Unit(y, size) - 1.0f;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float core = std::exp(-(r * r) / 0.005f);
        const float halo = 0.55f * std::exp(-(r * r) / 0.09f);
        // Long streaks along the axes, shorter ones on the diagonals.
        const float straight = std::exp(-(dx * dx) / 0.0004f) + std::exp(-(dy * dy) / 0.0004f);
        const float ex = (dx + dy) * 0.7071f;
        const float ey = (dx - dy) * 0.7071f;
        const float diagonal = std::exp(-(ex * ex) / 0.0003f) + std::exp(-(ey * ey) / 0.0003f);
        const float streaks = 0.45f * straight * std::pow(Clamp01(1.0f - r), 2.0f) + 0.25f * diagonal * std::pow(Clamp01(1.0f - 1.6f * r), 2.0f);
        const float alpha = Clamp01(core + halo + streaks) * Smooth(1.0f, 0.85f, r);
        return WithAlpha(Mix(Rgb(0xffb870), Rgb(0xffffff), Clamp01(core * 1.5f + streaks)), alpha);
    });
    return canvas;
}

Canvas LensRing(int size) {
    Canvas canvas(size, size, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float r = Radius(x, y, size);
        const float off = (r - 0.72f) / 0.07f;
        // Faint colour fringes: bluish inside, warm outside.
        const Colour tint = Mix(Rgb(0xb8d4ff), Rgb(0xffd0b0), Clamp01(0.5f + off * 0.4f));
        return WithAlpha(tint, 0.8f * std::exp(-off * off));
    });
    return canvas;
}

Canvas LensDisc(int size) {
    const float c = static_cast<float>(size) * 0.5f;
    const float r = static_cast<float>(size) * 0.4f;
    std::vector<Point> hexagon;
    for (int i = 0; i < 6; ++i) {
        const float a = kPi / 3.0f * static_cast<float>(i) + kPi / 6.0f;
        hexagon.push_back({c + std::cos(a) * r, c + std::sin(a) * r});
    }
    Canvas canvas(size, size, Rgb(0xffe2c8, 0.0f));
    const Shape shape = Polygon(hexagon);
    canvas.Fill(shape, [&](float x, float y) {
        const float inside = -shape.distance(x, y);
        return Rgb(0xffe2c8, 0.5f + 0.2f * Smooth(4.0f, 0.0f, inside));
    }, static_cast<float>(size) / 10.0f);
    return canvas;
}

Canvas LensGlow(int size) {
    Canvas canvas(size, size, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float r = Radius(x, y, size);
        return WithAlpha(Rgb(0xe8dcff), std::exp(-(r * r) / 0.12f) * Smooth(1.0f, 0.8f, r));
    });
    return canvas;
}

// --- Emblems

// A gull seen from below, wings spread, `span` wide, head up.
void DrawGull(Canvas& canvas, Point at, float span, Colour body, Colour wing, Colour tips) {
    const float k = span * 0.5f;
    // Crooked at the wrist, as a gull holds its wings gliding.
    const std::vector<Point> leftWing = {{-0.06f, -0.06f}, {-0.3f, -0.17f}, {-0.5f, -0.21f}, {-0.75f, -0.12f},
                                         {-1.0f, 0.0f},    {-0.84f, 0.03f}, {-0.6f, 0.0f},   {-0.47f, 0.03f},
                                         {-0.3f, 0.1f},    {-0.06f, 0.11f}};
    std::vector<Point> rightWing;
    for (auto p = leftWing.rbegin(); p != leftWing.rend(); ++p) rightWing.push_back({-p->x, p->y});
    const Canvas::Shader wingColour = [=](float x, float) {
        return Mix(wing, tips, Smooth(0.66f, 0.76f, std::fabs(x - at.x) / k));
    };
    canvas.Fill(Polygon(Place(leftWing, at, k, k)), wingColour);
    canvas.Fill(Polygon(Place(rightWing, at, k, k)), wingColour);
    canvas.Fill(Polygon(Place({{-0.06f, 0.16f}, {0.06f, 0.16f}, {0.1f, 0.32f}, {-0.1f, 0.32f}}, at, k, k)), body);
    canvas.Fill(Ellipse({at.x, at.y + 0.02f * k}, 0.08f * k, 0.22f * k), body);
    canvas.Fill(Circle({at.x, at.y - 0.19f * k}, 0.065f * k), body);
}

Canvas Gull(int size) {
    const float s = static_cast<float>(size);
    Canvas canvas(size, size, Rgb(0xd8dce2, 0.0f));
    DrawGull(canvas, {s * 0.5f, s * 0.47f}, s * 0.94f, Rgb(0xf2f4f6), Rgb(0xdadde3), Rgb(0x2a2a30));
    return canvas;
}

Canvas Flag(int width, int height) {
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    Canvas canvas(width, height, Rgb(0));
    canvas.Paint([&](int x, int y) {
        const float fx = static_cast<float>(x) + 0.5f;
        const float fy = static_cast<float>(y) + 0.5f;
        const bool stripe = fy > h * 0.7f && fy < h * 0.84f;
        // Soft folds of the cloth.
        const float fold = 1.0f + 0.07f * std::sin(fx / w * 2.0f * kPi * 2.5f + fy / h * 1.5f);
        return Shade(stripe ? Rgb(0xf0c234) : Rgb(0x22518f), fold);
    });
    DrawGull(canvas, {w * 0.5f, h * 0.38f}, w * 0.4f, Rgb(0xffffff), Rgb(0xffffff), Rgb(0xffffff));
    return canvas;
}

struct TextureRecipe {
    const char* file;
    bool alpha;
    Canvas (*draw)();
};

const TextureRecipe kTextures[] = {
    {"grass.jpg", false, [] { return Grass(256, 256); }},
    {"sand.jpg", false, [] { return Sand(256, 256); }},
    {"rock.jpg", false, [] { return Rock(256, 256); }},
    {"wall.jpg", false, [] { return Wall(256, 256); }},
    {"roof.jpg", false, [] { return Roof(256, 256); }},
    {"stone.jpg", false, [] { return Stone(256, 256); }},
    {"wood.jpg", false, [] { return Wood(256, 256); }},
    {"bark.jpg", false, [] { return Bark(128, 128); }},
    {"lighthouse.jpg", false, [] { return Lighthouse(256, 256); }},
    {"car.jpg", false, [] { return Car(128, 128); }},
    {"sky.jpg", false, [] { return Sky(512, 256); }},
    {"stone_h.tga", true, [] { return StoneHeight(256, 256); }},
    {"water_h.tga", true, [] { return WaterHeight(256, 256); }},
    {"leaves.tga", true, [] { return Leaves(256); }},
    {"grassblades.tga", true, [] { return GrassBlades(256, 128); }},
    {"smoke.tga", true, [] { return Smoke(64); }},
    {"spray.tga", true, [] { return Spray(64); }},
    {"glow.tga", true, [] { return Glow(64); }},
    {"flare.tga", true, [] { return FlareCanvas(128); }},
    {"lens_ring.tga", true, [] { return LensRing(64); }},
    {"lens_disc.tga", true, [] { return LensDisc(64); }},
    {"lens_glow.tga", true, [] { return LensGlow(64); }},
    {"flag.tga", true, [] { return Flag(128, 64); }},
    {"gull.tga", true, [] { return Gull(64); }},
};

}  // namespace

int WriteShowTextures(const std::string& directory) {
    int failed = 0;
    for (const TextureRecipe& texture : kTextures) failed |= texture.draw().Write(directory + "/" + texture.file, texture.alpha);
    return failed != 0 ? 1 : 0;
}

}  // namespace zel
