#include "tools/content/picture/Canvas.h"

#include <algorithm>
#include <cmath>

#include "tools/content/picture/PictureWriter.h"

namespace zel {

namespace {

float Length(float x, float y) { return std::sqrt(x * x + y * y); }

uint8_t Byte(float value) { return static_cast<uint8_t>(Clamp01(value) * 255.0f + 0.5f); }

int Wrap(int value, int period) {
    const int r = value % period;
    return r < 0 ? r + period : r;
}

}  // namespace

float Clamp01(float value) { return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value); }

float Smooth(float edge0, float edge1, float value) {
    const float t = Clamp01((value - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

Colour Mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Colour Shade(Colour c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

Colour WithAlpha(Colour c, float alpha) { return {c.r, c.g, c.b, alpha}; }

Colour Gradient(std::initializer_list<Stop> stops, float t) {
    const Stop* first = stops.begin();
    if (t <= first->at) return first->colour;
    for (const Stop* stop = first + 1; stop != stops.end(); ++stop) {
        const Stop& before = *(stop - 1);
        if (t <= stop->at) return Mix(before.colour, stop->colour, (t - before.at) / (stop->at - before.at));
    }
    return (stops.end() - 1)->colour;
}

Shape Circle(Point centre, float radius) {
    return {centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius,
            [=](float x, float y) { return Length(x - centre.x, y - centre.y) - radius; }};
}

Shape Ellipse(Point centre, float radiusX, float radiusY) {
    return {centre.x - radiusX, centre.y - radiusY, centre.x + radiusX, centre.y + radiusY, [=](float x, float y) {
                // The level-set value over its gradient's length.
                const float px = (x - centre.x) / radiusX;
                const float py = (y - centre.y) / radiusY;
                const float k0 = Length(px, py);
                const float k1 = Length(px / radiusX, py / radiusY);
                return k1 > 0.0f ? k0 * (k0 - 1.0f) / k1 : -std::min(radiusX, radiusY);
            }};
}

Shape Polygon(std::vector<Point> points) {
    Shape shape{1e9f, 1e9f, -1e9f, -1e9f, nullptr};
    for (const Point& p : points) {
        shape.x0 = std::min(shape.x0, p.x);
        shape.y0 = std::min(shape.y0, p.y);
        shape.x1 = std::max(shape.x1, p.x);
        shape.y1 = std::max(shape.y1, p.y);
    }
    shape.distance = [points = std::move(points)](float x, float y) {
        // Nearest edge for the size, crossings of a ray to the right for the
        // side.
        float nearest = 1e18f;
        bool inside = false;
        const size_t count = points.size();
        for (size_t i = 0, j = count - 1; i < count; j = i++) {
            const Point& a = points[i];
            const Point& b = points[j];
            const float ex = b.x - a.x;
            const float ey = b.y - a.y;
            const float wx = x - a.x;
            const float wy = y - a.y;
            const float span = ex * ex + ey * ey;
            const float t = span > 0.0f ? Clamp01((wx * ex + wy * ey) / span) : 0.0f;
            const float dx = wx - ex * t;
            const float dy = wy - ey * t;
            nearest = std::min(nearest, dx * dx + dy * dy);
            if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * ex / ey) inside = !inside;
        }
        const float d = std::sqrt(nearest);
        return inside ? -d : d;
    };
    return shape;
}

Shape Stroke(Point a, Point b, float width) {
    const float h = width * 0.5f;
    return {std::min(a.x, b.x) - h, std::min(a.y, b.y) - h, std::max(a.x, b.x) + h, std::max(a.y, b.y) + h,
            [=](float x, float y) {
                const float ex = b.x - a.x;
                const float ey = b.y - a.y;
                const float span = ex * ex + ey * ey;
                const float t = span > 0.0f ? Clamp01(((x - a.x) * ex + (y - a.y) * ey) / span) : 0.0f;
                return Length(x - a.x - ex * t, y - a.y - ey * t) - h;
            }};
}

std::vector<Point> Place(const std::vector<Point>& points, Point at, float scaleX, float scaleY, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    std::vector<Point> placed;
    placed.reserve(points.size());
    for (const Point& p : points) {
        const float x = p.x * scaleX;
        const float y = p.y * scaleY;
        placed.push_back({at.x + x * c - y * s, at.y + x * s + y * c});
    }
    return placed;
}

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

void Canvas::Paint(const Painter& painter) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) pixels_[Index(x, y)] = painter(x, y);
}

void Canvas::Over(int x, int y, Colour c, float coverage) {
    const float a = c.a * coverage;
    if (a <= 0.0f) return;
    Colour& d = pixels_[Index(x, y)];
    const float out = a + d.a * (1.0f - a);
    const float keep = d.a * (1.0f - a);
    d = {(c.r * a + d.r * keep) / out, (c.g * a + d.g * keep) / out, (c.b * a + d.b * keep) / out, out};
}

void Canvas::Fill(const Shape& shape, Colour colour, float feather, bool wrap) {
    Fill(shape, [colour](float, float) { return colour; }, feather, wrap);
}

void Canvas::Fill(const Shape& shape, const Shader& colour, float feather, bool wrap) {
    const float reach = feather * 0.5f;
    int x0 = static_cast<int>(std::floor(shape.x0 - reach));
    int y0 = static_cast<int>(std::floor(shape.y0 - reach));
    int x1 = static_cast<int>(std::ceil(shape.x1 + reach));
    int y1 = static_cast<int>(std::ceil(shape.y1 + reach));
    if (!wrap) {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, width_ - 1);
        y1 = std::min(y1, height_ - 1);
    } else {
        x1 = std::min(x1, x0 + width_ - 1);
        y1 = std::min(y1, y0 + height_ - 1);
    }
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float fx = static_cast<float>(x) + 0.5f;
            const float fy = static_cast<float>(y) + 0.5f;
            const float coverage = Clamp01(0.5f - shape.distance(fx, fy) / feather);
            if (coverage <= 0.0f) continue;
            Over(Wrap(x, width_), Wrap(y, height_), colour(fx, fy), coverage);
        }
    }
}

void Canvas::Glow(const Shader& light) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Colour l = light(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            if (l.a <= 0.0f) continue;
            Colour& d = pixels_[Index(x, y)];
            d.r = 1.0f - (1.0f - d.r) * (1.0f - Clamp01(l.r * l.a));
            d.g = 1.0f - (1.0f - d.g) * (1.0f - Clamp01(l.g * l.a));
            d.b = 1.0f - (1.0f - d.b) * (1.0f - Clamp01(l.b * l.a));
        }
    }
}

void Canvas::Compose(const Canvas& top, const std::function<float(float x, float y)>& mask) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            Over(x, y, top.Get(x, y), Clamp01(mask(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f)));
}

int Canvas::Write(const std::string& path, bool alpha) const {
    return WritePicture(path, width_, height_, alpha, [this](int x, int y, int, int) {
        const Colour& c = pixels_[Index(x, y)];
        return Rgba{Byte(c.r), Byte(c.g), Byte(c.b), Byte(c.a)};
    });
}

}  // namespace zel
