#include "engine/render/RendererModule.h"

#include "engine/core/Log.h"
#include "engine/os/Os.h"
#include "engine/render/Renderer.h"
#include "engine/resources/InternalModule.h"

namespace zel {

namespace {

constexpr const char* kDeviceLibrary = "d3d9.dll";

// The device library must be present before the renderer links to it; it
// is loaded only to be sure, and freed at once.
bool DeviceLibraryLoads() {
    void* library = os::LoadDynamicLibrary(kDeviceLibrary);
    if (library == nullptr) {
        LogError("Невозможно загрузить библиотеку [%s].", kDeviceLibrary);
        return false;
    }
    os::FreeDynamicLibrary(library);
    return true;
}

}  // namespace

int32_t RegisterDirectX9Module() {
    return RegisterInternalModule(kDirectX9ModuleName, "CreateRenderer",
                                  reinterpret_cast<ModuleSymbol>(&CreateDirectX9Renderer));
}

int32_t CreateDirectX9Renderer(Renderer** renderer) {
    if (renderer == nullptr) return kFailed;
    *renderer = nullptr;
    if (GetCurrentRenderer() != nullptr) return kFailed;
    if (!DeviceLibraryLoads()) return kFailed;
    *renderer = NewDeviceRenderer();
    return *renderer != nullptr ? kOk : kFailed;
}

}  // namespace zel
