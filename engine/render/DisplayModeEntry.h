// One usable device configuration: a screen size (full-screen entries only)
// with the bit layout of its back buffer and depth buffer. The device
// renderer fills the list; the application picks an entry by index.
#pragma once

#include <cstdint>

namespace zel {

struct DisplayModeEntry {
    uint32_t width = 0;
    uint32_t height = 0;
    bool fullScreen = false;
    uint32_t colorBits = 0;  // 16 or 32
    uint32_t redBits = 0;
    uint32_t greenBits = 0;
    uint32_t blueBits = 0;
    uint32_t alphaBits = 0;
    uint32_t depthBits = 0;    // 15, 16, 24 or 32
    uint32_t stencilBits = 0;  // 0, 1, 4 or 8
    // 1-based index into the device renderer's multisample list.
    uint32_t multisampleIndex = 1;

    bool operator==(const DisplayModeEntry&) const = default;
};

}  // namespace zel
