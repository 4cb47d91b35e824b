#include "tools/content/picture/PictureWriter.h"

#include <cstdio>

#include "engine/core/Pointer.h"
#include "engine/resources/Codec.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Image.h"
#include "tools/common/DiskPath.h"

namespace zel {

int WritePicture(const std::string& path, int width, int height, bool alpha, const Painter& paint) {
    Pointer<Image> image = new Image(String(), alpha ? Image::kFormatRGBA : Image::kFormatRGB, width, height);
    uint8_t* out = image->GetData();
    if (out == nullptr) return 1;
    // Images keep their rows bottom first; painters count y from the top.
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const Rgba c = paint(x, y, width, height);
            *out++ = c.r;
            *out++ = c.g;
            *out++ = c.b;
            if (alpha) *out++ = c.a;
        }
    }
    DiskPath disk(path);
    ImageCodec* codec = CodecAs<ImageCodec>(FindCodecForFile(disk.GetFile()));
    if (codec == nullptr || codec->Save(disk.GetFile(), image) != kOk) {
        std::fprintf(stderr, "zel-content: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

}  // namespace zel
