#include "engine/core/Log.h"
#include "engine/render/RendererModule.h"

namespace zel {

// The native build has no Direct3D: the module keeps its place and reports.
Renderer* NewDeviceRenderer() {
    LogError("Рендерер DirectX9 в этой сборке недоступен.");
    return nullptr;
}

}  // namespace zel
