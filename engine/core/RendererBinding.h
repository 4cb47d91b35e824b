// The link between an engine object and the device object a renderer made
// for it. The renderer fills it on first use; the owner marks it dirty when
// its data change, and asks the holding renderer to release the device
// object when it is destroyed.
#pragma once

#include <cstdint>

#include "engine/core/DeviceHolder.h"
#include "engine/core/Pointer.h"

namespace zel {

class RendererBinding {
public:
    RendererBinding() = default;
    RendererBinding(const RendererBinding&) = delete;
    RendererBinding& operator=(const RendererBinding&) = delete;

    bool IsDirty() const { return dirty_; }
    void SetDirty(bool dirty) { dirty_ = dirty; }

    // The renderer that created the device object, or null. The render
    // layer's BoundRenderer gives it as a Renderer.
    DeviceHolder* GetHolder() const { return holder_.Get(); }
    void* GetHandle() const { return handle_; }
    uint32_t GetSpare() const { return spare_; }
    void SetSpare(uint32_t spare) { spare_ = spare; }

    // Stores a device handle made by `holder`, which the binding now holds.
    void SetHandle(void* handle, DeviceHolder* holder);
    // Drops the renderer reference, zeroes handle and spare word and marks
    // the binding dirty, so the next use creates the device object again.
    void Clear();

private:
    bool dirty_ = true;
    Pointer<DeviceHolder> holder_;  // counted
    void* handle_ = nullptr;
    uint32_t spare_ = 0;
};

}  // namespace zel
