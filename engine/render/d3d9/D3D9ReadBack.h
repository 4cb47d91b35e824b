// Reading render targets back into system memory: the one copy of the
// steps (a system-memory surface of the same size and format, the device's
// copy, a read-only lock) that frame capture and the renderer tests share.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/render/d3d9/D3D9.h"

namespace zel {

// A render target's pixels as 32-bit words (A8R8G8B8 or X8R8G8B8, as the
// surface holds them), rows top-down, width × height of them. False when
// any call fails or the surface has another format; `pixels` is then empty.
bool ReadRenderTarget(IDirect3DDevice9* device, IDirect3DSurface9* surface, std::vector<uint32_t>& pixels,
                      UINT& width, UINT& height);

// The same for the device's back buffer.
bool ReadBackBufferPixels(IDirect3DDevice9* device, std::vector<uint32_t>& pixels, UINT& width, UINT& height);

}  // namespace zel
