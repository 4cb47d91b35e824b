#include "engine/core/RendererBinding.h"

namespace zel {

void RendererBinding::SetHandle(void* handle, DeviceHolder* holder) {
    handle_ = handle;
    holder_ = holder;
}

void RendererBinding::Clear() {
    holder_ = nullptr;
    handle_ = nullptr;
    spare_ = 0;
    dirty_ = true;
}

}  // namespace zel
