// Box filter for mip levels: each texel of a level is the rounded mean of
// the 2 x 2 (volumes: 2 x 2 x 2) texels of the level above that it covers.
// A dimension already at 1 stays 1 and is not averaged; in an odd
// dimension the last row, column or slice is left out. Bytes are averaged
// channel by channel, so the filter works for every 8-bit-per-channel
// layout (the images' RGB, RGBA and A8, and their device forms). A cube
// texture is filtered face by face: texels never mix across faces.
#pragma once

#include <cstdint>

namespace zel {

// One level of a 2D texture, a cube face or a volume, with its pitches in
// bytes (the rows and slices of a locked device level may be padded).
struct MipSurface {
    uint8_t* data = nullptr;  // not owned
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 1;
    int32_t rowPitch = 0;
    int32_t slicePitch = 0;
};

class MipFilter {
public:
    // The size of the next level down: half, rounded down, at least 1.
    static int32_t NextSize(int32_t size) { return size > 1 ? size / 2 : 1; }

    // Number of levels of a full chain down to 1 x 1 x 1.
    static int32_t LevelCount(int32_t width, int32_t height, int32_t depth);

    // Bytes per texel of the image formats the filter takes (RGB 3, RGBA 4,
    // A8 1); 0 for the others.
    static int32_t ChannelsOf(int32_t imageFormat);

    // Fills `below` from `above`. `below` must have the next level's size.
    // 0; 3 (kInvalidArgument) for null data, a channel count outside 1-4,
    // pitches too small for their rows, or sizes that do not follow.
    static int32_t Downsample(const MipSurface& above, const MipSurface& below, int32_t channels);
};

}  // namespace zel
