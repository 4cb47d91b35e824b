// The rules between a display mode's bit counts and the device formats of
// its back buffer, display and depth buffer. Formats are Direct3D 9's format
// numbers, so the rules stay portable and are tested without a device; the
// device renderer casts them to its format type.
#pragma once

#include <cstdint>

#include "engine/render/DisplayModeEntry.h"

namespace zel {

namespace format {
constexpr uint32_t kUnknown = 0;
constexpr uint32_t kA8R8G8B8 = 21;
constexpr uint32_t kX8R8G8B8 = 22;
constexpr uint32_t kR5G6B5 = 23;
constexpr uint32_t kX1R5G5B5 = 24;
constexpr uint32_t kA1R5G5B5 = 25;
constexpr uint32_t kA8 = 28;
constexpr uint32_t kA2R10G10B10 = 35;
constexpr uint32_t kA16B16G16R16F = 113;
constexpr uint32_t kD32 = 71;
constexpr uint32_t kD15S1 = 73;
constexpr uint32_t kD24S8 = 75;
constexpr uint32_t kD24X8 = 77;
constexpr uint32_t kD24X4S4 = 79;
constexpr uint32_t kD16 = 80;
}  // namespace format

// The formats tried, each list in the order it is walked.
constexpr uint32_t kAdapterFormats[] = {format::kX8R8G8B8, format::kX1R5G5B5, format::kR5G6B5,
                                        format::kA2R10G10B10};
constexpr uint32_t kBackBufferFormats[] = {format::kA8R8G8B8, format::kX8R8G8B8, format::kA2R10G10B10,
                                           format::kR5G6B5,   format::kA1R5G5B5, format::kX1R5G5B5};
constexpr uint32_t kDepthFormats[] = {format::kD24S8, format::kD24X4S4, format::kD15S1,
                                      format::kD24X8, format::kD32,     format::kD16};
// Multisample list: index 1 is no multisampling, then 2 to 16 samples.
constexpr int32_t kMultisampleCount = 16;
// The sample count (Direct3D's multisample type) of a 1-based index; 0 for
// index 1 and for indices outside the list.
uint32_t MultisampleTypeOf(uint32_t index);

// Fills colour, red, green, blue and alpha bits of a back-buffer format;
// false (entry untouched) for other formats.
bool SetColorBits(uint32_t backBufferFormat, DisplayModeEntry& entry);
// Fills depth and stencil bits of a depth format; false for other formats.
bool SetDepthBits(uint32_t depthFormat, DisplayModeEntry& entry);

// Back from bits: kUnknown when no format has them.
uint32_t BackBufferFormatOf(const DisplayModeEntry& entry);
// The display (adapter) format the back buffer is checked against: the
// back-buffer format without its alpha, except 10-bit colour.
uint32_t DisplayFormatOf(const DisplayModeEntry& entry);
uint32_t DepthFormatOf(uint32_t depthBits, uint32_t stencilBits);

// Entry i of the device gamma ramp at `level`: level × 200 + i × 256,
// clamped to 0..65535.
uint16_t GammaRampEntry(int32_t level, int32_t index);

}  // namespace zel
