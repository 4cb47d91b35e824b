// A floating-point picture to draw on, with the few helpers every picture
// drawn in code shares: colours and gradients, shapes with anti-aliased
// edges (given by signed distances) and the blends used to lay them on.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace zel {

// Straight (not premultiplied) colour, every channel 0..1.
struct Colour {
    float r, g, b, a;
};

// 0xRRGGBB as an opaque colour, or with the given alpha.
constexpr Colour Rgb(unsigned rgb, float alpha = 1.0f) {
    return {static_cast<float>(rgb >> 16 & 0xFF) / 255.0f, static_cast<float>(rgb >> 8 & 0xFF) / 255.0f,
            static_cast<float>(rgb & 0xFF) / 255.0f, alpha};
}

float Clamp01(float value);
// 0 below `edge0`, 1 above `edge1`, a smooth step between (edges may be
// given in either order).
float Smooth(float edge0, float edge1, float value);
// a + (b − a)·t for every channel, alpha included.
Colour Mix(Colour a, Colour b, float t);
// The colour channels times `k`; alpha kept.
Colour Shade(Colour c, float k);
Colour WithAlpha(Colour c, float alpha);

// A colour ramp: stops in increasing order of `at`; before the first and
// after the last the end colours hold.
struct Stop {
    float at;
    Colour colour;
};
Colour Gradient(std::initializer_list<Stop> stops, float t);

struct Point {
    float x, y;
};

// A filled region in pixel coordinates: the box that holds it and its
// signed distance in pixels, negative inside.
struct Shape {
    float x0, y0, x1, y1;
    std::function<float(float x, float y)> distance;
};

Shape Circle(Point centre, float radius);
// Distance approximated, exact enough for an edge a pixel or two wide.
Shape Ellipse(Point centre, float radiusX, float radiusY);
// Any simple polygon, either winding.
Shape Polygon(std::vector<Point> points);
// A line with round ends.
Shape Stroke(Point a, Point b, float width);

// `points` scaled, turned by `angle` (radians) and moved to `at`.
std::vector<Point> Place(const std::vector<Point>& points, Point at, float scaleX, float scaleY, float angle = 0.0f);

class Canvas {
public:
    using Painter = std::function<Colour(int x, int y)>;
    using Shader = std::function<Colour(float x, float y)>;

    Canvas(int width, int height, Colour fill);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Colour Get(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, Colour c) { pixels_[Index(x, y)] = c; }

    // Sets every pixel; y counts from the top.
    void Paint(const Painter& painter);
    // Lays the colour over the pixels the shape covers. The edge is
    // `feather` pixels wide. With `wrap` the parts past an edge come back in
    // at the opposite one, for pictures that tile.
    void Fill(const Shape& shape, Colour colour, float feather = 1.0f, bool wrap = false);
    // The same with a colour that varies over the shape (sampled at pixel
    // centres; its alpha scales the coverage).
    void Fill(const Shape& shape, const Shader& colour, float feather = 1.0f, bool wrap = false);
    // Brightens every pixel with a light whose alpha says how strong it is
    // there ("screen": never past white).
    void Glow(const Shader& light);
    // Lays `top` over this picture through `mask` (0..1 per pixel centre).
    void Compose(const Canvas& top, const std::function<float(float x, float y)>& mask);

    // Saves through the engine's codecs (chosen by the extension); `alpha`
    // keeps the alpha channel (TGA). 0 ok, 1 failed (reported).
    int Write(const std::string& path, bool alpha) const;

private:
    int Index(int x, int y) const { return y * width_ + x; }
    void Over(int x, int y, Colour c, float coverage);

    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

}  // namespace zel
