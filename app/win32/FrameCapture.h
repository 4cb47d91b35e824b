// Saving the frame being drawn, for the capture test hook.
#pragma once

namespace zel {

class Renderer;

// Writes the renderer's back buffer as a 24-bit BMP file at `path`. False
// when the renderer has no device or the file cannot be written.
bool CaptureBackBuffer(Renderer& renderer, const char* path);

}  // namespace zel
