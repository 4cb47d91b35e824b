#include "engine/render/device/ModeFormats.h"

#include <algorithm>

namespace zel {

namespace {

struct ColorLayout {
    uint32_t format;
    uint32_t colorBits, red, green, blue, alpha;
};

// X1R5G5B5 counts its unused bit as alpha, so both 5-5-5 formats read back
// as alpha 1.
constexpr ColorLayout kColorLayouts[] = {
    {format::kA8R8G8B8, 32, 8, 8, 8, 8},      {format::kX8R8G8B8, 32, 8, 8, 8, 8},
    {format::kA2R10G10B10, 32, 10, 10, 10, 2}, {format::kR5G6B5, 16, 5, 6, 5, 0},
    {format::kX1R5G5B5, 16, 5, 5, 5, 1},      {format::kA1R5G5B5, 16, 5, 5, 5, 1},
};

struct DepthLayout {
    uint32_t format;
    uint32_t depth, stencil;
};

constexpr DepthLayout kDepthLayouts[] = {
    {format::kD32, 32, 0},   {format::kD15S1, 15, 1}, {format::kD24S8, 24, 8},
    {format::kD24X8, 24, 0}, {format::kD24X4S4, 24, 4}, {format::kD16, 16, 0},
};

}  // namespace

uint32_t MultisampleTypeOf(uint32_t index) {
    if (index < 2 || index > static_cast<uint32_t>(kMultisampleCount)) return 0;
    return index;
}

bool SetColorBits(uint32_t backBufferFormat, DisplayModeEntry& entry) {
    for (const ColorLayout& layout : kColorLayouts) {
        if (layout.format != backBufferFormat) continue;
        entry.colorBits = layout.colorBits;
        entry.redBits = layout.red;
        entry.greenBits = layout.green;
        entry.blueBits = layout.blue;
        entry.alphaBits = layout.alpha;
        return true;
    }
    return false;
}

bool SetDepthBits(uint32_t depthFormat, DisplayModeEntry& entry) {
    for (const DepthLayout& layout : kDepthLayouts) {
        if (layout.format != depthFormat) continue;
        entry.depthBits = layout.depth;
        entry.stencilBits = layout.stencil;
        return true;
    }
    return false;
}

uint32_t BackBufferFormatOf(const DisplayModeEntry& entry) {
    if (entry.colorBits == 16) {
        if (entry.alphaBits == 0) return entry.greenBits == 5 ? format::kX1R5G5B5 : format::kR5G6B5;
        if (entry.alphaBits == 1) return format::kA1R5G5B5;
    } else if (entry.colorBits == 32) {
        if (entry.alphaBits == 0) return format::kX8R8G8B8;
        if (entry.alphaBits == 2) return format::kA2R10G10B10;
        if (entry.alphaBits == 8) return format::kA8R8G8B8;
    }
    return format::kUnknown;
}

uint32_t DisplayFormatOf(const DisplayModeEntry& entry) {
    const uint32_t backBuffer = BackBufferFormatOf(entry);
    if (backBuffer == format::kA1R5G5B5) return format::kX1R5G5B5;
    if (backBuffer == format::kA8R8G8B8) return format::kX8R8G8B8;
    return backBuffer;
}

uint32_t DepthFormatOf(uint32_t depthBits, uint32_t stencilBits) {
    for (const DepthLayout& layout : kDepthLayouts)
        if (layout.depth == depthBits && layout.stencil == stencilBits) return layout.format;
    return format::kUnknown;
}

uint16_t GammaRampEntry(int32_t level, int32_t index) {
    const int64_t value = int64_t{level} * 200 + int64_t{index} * 256;
    return static_cast<uint16_t>(std::clamp<int64_t>(value, 0, 65535));
}

}  // namespace zel
