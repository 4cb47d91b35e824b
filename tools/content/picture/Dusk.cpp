#include "tools/content/picture/Dusk.h"

#include <cmath>

#include "tools/content/picture/Noise.h"

namespace zel {

namespace {

Colour Screen(Colour base, Colour light, float amount) {
    auto channel = [amount](float b, float l) { return 1.0f - (1.0f - b) * (1.0f - Clamp01(l * amount)); };
    return {channel(base.r, light.r), channel(base.g, light.g), channel(base.b, light.b), base.a};
}

}  // namespace

Colour DuskSky(float elevation) {
    return Gradient({{0.0f, Rgb(0xf7a65e)},
                     {0.06f, Rgb(0xf0906a)},
                     {0.16f, Rgb(0xda7d8c)},
                     {0.32f, Rgb(0x9c6b9f)},
                     {0.58f, Rgb(0x4f4b8d)},
                     {1.0f, Rgb(0x1c2157)}},
                    elevation);
}

float CloudDensity(float u, float elevation) {
    static const TiledNoise kShape{5, 16, 5, 0.55f, 101};
    static const TiledNoise kWarp{3, 8, 2, 0.5f, 102};
    // Heights bunch up towards the horizon, so the streaks flatten there as
    // a layer seen from below does.
    const float layer = 1.4f / (Clamp01(elevation) + 0.14f);
    const float v = layer / 16.0f;
    const float warped = u + 0.05f * kWarp.At(u, v);
    const float band = Smooth(0.01f, 0.1f, elevation) * Smooth(0.55f, 0.28f, elevation);
    return Clamp01((kShape.At(warped, v) * 1.6f + 0.15f) * band);
}

Colour DuskCloudySky(float u, float elevation, float step) {
    const float here = CloudDensity(u, elevation);
    const float below = CloudDensity(u, elevation - 3.0f * step);
    const float cover = Smooth(0.05f, 0.55f, here);
    // Where the cloud thins out downwards the low sun catches it.
    const float lit = Clamp01(0.3f + (here - below) * 5.0f);
    const Colour litColour = Gradient({{0.0f, Rgb(0xffb878)}, {0.25f, Rgb(0xf59aa2)}, {0.5f, Rgb(0xc98ab0)}}, elevation);
    const Colour cloud = Mix(Rgb(0x5d4e7e), litColour, lit);
    return Mix(DuskSky(elevation), cloud, cover * 0.9f);
}

Colour SunHaze(Colour sky, float distance) {
    const float core = std::exp(-(distance * distance) / 0.012f);
    const float wide = std::exp(-(distance * distance) / 0.12f);
    return Screen(Screen(sky, Rgb(0xffc27a), wide * 0.35f), Rgb(0xffe0a8), core * 0.7f);
}

}  // namespace zel
