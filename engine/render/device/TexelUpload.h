// How an image's pixels land in a locked device texture level: the image's
// first row becomes the level's bottom row (image rows run upward), RGB
// pixels become B, G, R, 255, RGBA pixels B, G, R, A, single-channel pixels
// are copied.
#pragma once

#include <cstdint>

namespace zel {

// Bytes one texel takes in the device texture for an image format: 4 for
// RGB and RGBA, 1 for A8; 0 for formats that are not uploaded.
int32_t DeviceTexelSize(int32_t imageFormat);

// Copies a width × height image of `imageFormat` into `level`, whose rows
// are `pitch` bytes apart. False (nothing written) for a format that is not
// uploaded.
bool CopyImageToLevel(const uint8_t* image, int32_t width, int32_t height, int32_t imageFormat, uint8_t* level,
                      int32_t pitch);

}  // namespace zel
