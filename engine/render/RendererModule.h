// The built-in renderer module "DirectX9": its registration, placed first in
// the engine's internal module order, and its "CreateRenderer" entry point.
#pragma once

#include <cstdint>

namespace zel {

class Renderer;

constexpr const char* kDirectX9ModuleName = "DirectX9";

// Post-initialisation function: registers the module. 0; 1 when it cannot
// be created or registered.
int32_t RegisterDirectX9Module();

// "CreateRenderer": 1 when a renderer is current already, for a null
// output, when "d3d9.dll" cannot be loaded or the renderer cannot be
// constructed (*renderer is then null); else 0 with a new renderer, no
// reference taken.
[[nodiscard]] int32_t CreateDirectX9Renderer(Renderer** renderer);

// A new device renderer (the Direct3D 9 one on Windows); null, logged, when
// this build has none or memory runs out.
Renderer* NewDeviceRenderer();

}  // namespace zel
