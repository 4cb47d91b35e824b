// Pictures drawn in code and written through the engine's own image codecs
// (the codec is chosen by the file's extension).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zel {

struct Rgba {
    uint8_t r, g, b, a;
};

// The colour of pixel (x, y), y counted from the top.
using Painter = std::function<Rgba(int x, int y, int width, int height)>;

// Paints every pixel and saves the picture; BMP and JPEG keep no alpha, so
// `alpha` is for TGA. 0 ok, 1 failed (reported on standard error).
int WritePicture(const std::string& path, int width, int height, bool alpha, const Painter& paint);

}  // namespace zel
