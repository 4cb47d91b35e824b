// Saving the frame being drawn, for the capture test hook.
#pragma once

#include <cstdint>

namespace zel {

class Image;
class Renderer;

// Writes the renderer's back buffer as a 24-bit bottom-up BMP file at
// `path`. False when the buffer cannot be read or the file written.
bool CaptureBackBuffer(Renderer& renderer, const char* path);

// Writes an RGB image (top row first) as a 24-bit bottom-up BMP file.
// False for another format or when the file cannot be written.
bool WriteBmp24(const Image& image, const char* path);

}  // namespace zel
