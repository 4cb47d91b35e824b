// The cube map file: six TGA images one after another, each with its own
// header, in face order. All faces must share width, height and format.
#pragma once

#include <cstdint>

#include "engine/resources/image/ByteBlock.h"
#include "engine/resources/image/ImagePixels.h"

namespace zel {

class CubeFormat {
public:
    static constexpr int32_t kFaces = 6;

    // Decodes the six faces into one block of six slices (depth 6), each as
    // TgaFormat decodes a file. kOk; kFailed when a face is unsupported,
    // damaged or differs from the first, or the data cannot hold six faces
    // of the first face's size (checked before allocating); kOutOfMemory.
    static int32_t Decode(const uint8_t* data, int32_t size, ImagePixels& pixels);

    // Writes each of the six slices of `pixels` (width * height * bytes per
    // pixel apart) as TgaFormat writes an image. kOk; kInvalidArgument
    // when a face cannot be written as TGA or there are no pixels;
    // kOutOfMemory.
    static int32_t Encode(const uint8_t* pixels, int32_t width, int32_t height, int32_t format, ByteBlock& out);
};

}  // namespace zel
