#include <new>

#include "engine/core/Log.h"
#include "engine/render/RendererModule.h"
#include "engine/render/d3d9/D3D9Renderer.h"

namespace zel {

Renderer* NewDeviceRenderer() {
    Renderer* renderer = new (std::nothrow) D3D9Renderer();
    if (renderer == nullptr) LogError("Недостаточно памяти для рендерера DirectX9.");
    return renderer;
}

}  // namespace zel
