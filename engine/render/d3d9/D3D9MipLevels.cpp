// The mip levels below level 0 of an uploaded texture. The box filter that
// fills them plugs in here; until then they keep what they were created
// with.
#include "engine/render/d3d9/D3D9Renderer.h"

namespace zel {

void D3D9Renderer::FilterMipLevels(IDirect3DBaseTexture9*) {}

}  // namespace zel
