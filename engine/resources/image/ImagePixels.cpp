#include "engine/resources/image/ImagePixels.h"

#include "engine/resources/Image.h"

namespace zel {

int32_t ImagePixels::Allocate(int32_t width, int32_t height, int32_t depth, int32_t format) {
    width_ = width;
    height_ = height;
    depth_ = depth;
    format_ = format;
    if (width < 0 || height < 0 || depth < 0) {
        block_.Reset();
        return kOutOfMemory;
    }
    // Each partial product stays far below INT64_MAX while it is checked.
    int64_t size = int64_t{Image::GetBytesPerPixel(format)} * width;
    if (size <= INT32_MAX) size *= height;
    if (size <= INT32_MAX) size *= depth;
    return block_.Allocate(size);
}

void ImagePixels::MoveInto(Image& image) {
    image.SetWidth(width_);
    image.SetHeight(height_);
    image.SetFormat(format_);
    image.SetData(block_.Release());
    width_ = height_ = depth_ = 0;
}

}  // namespace zel
