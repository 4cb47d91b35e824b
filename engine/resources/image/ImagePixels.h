// A decoded picture before it becomes an Image: size, slice count, format
// code and the pixel block in the engine's layout (R, G, B(, A) order, rows
// bottom first, no padding; slices one after another).
#pragma once

#include <cstdint>

#include "engine/resources/image/ByteBlock.h"

namespace zel {

class Image;

class ImagePixels {
public:
    // Sets the shape and allocates width * height * depth * bytes per pixel.
    // kOk; kOutOfMemory (the shape is kept, the block is empty).
    int32_t Allocate(int32_t width, int32_t height, int32_t depth, int32_t format);

    // Hands size, format and block to the image, which frees its old block;
    // this object is left empty. The depth is the caller's to apply.
    void MoveInto(Image& image);

    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    int32_t GetDepth() const { return depth_; }
    int32_t GetFormat() const { return format_; }
    uint8_t* GetData() const { return block_.Data(); }
    int32_t GetSize() const { return block_.Size(); }

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t depth_ = 0;
    int32_t format_ = 0;
    ByteBlock block_;
};

}  // namespace zel
