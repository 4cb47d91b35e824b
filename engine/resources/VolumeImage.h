// An image of `depth` equally sized slices stored one after another (the
// six faces of a cube map): slice k starts at k * width * height * bytes
// per pixel. Streams like Image with the depth after the height.
#pragma once

#include <cstdint>

#include "engine/resources/Image.h"

namespace zel {

class VolumeImage : public Image {
    ZEL_DECLARE_RTTI

public:
    // The slices of a cube map.
    static constexpr int32_t kCubeFaces = 6;

    // Empty, depth 0.
    VolumeImage() = default;
    // Allocates GetDataSize() bytes as Image's sized constructor does.
    VolumeImage(const String& name, int32_t format, int32_t width, int32_t height, int32_t depth);
    // As Image's file constructor; the codec sees a VolumeImage.
    VolumeImage(File* file, const String& name);

    // Bytes per pixel * depth * height * width; -1 when negative or beyond
    // int32.
    int32_t GetDataSize() const override;
    // Bytes of one slice; -1 as above.
    int32_t GetSliceSize() const { return Image::GetDataSize(); }
    // Slice k (0..depth-1) of the block, or null without a block or out of
    // range.
    uint8_t* GetSlice(int32_t index) const;

    // As Image, with the depth streamed after the height; no INFO line.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    int32_t GetDepth() const { return depth_; }
    void SetDepth(int32_t depth) { depth_ = depth; }

private:
    int32_t depth_ = 0;
};
ZEL_REGISTER_CLASS(VolumeImage)

}  // namespace zel
