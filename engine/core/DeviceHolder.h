// What a RendererBinding holds on to: the renderer that made its device
// object. Counted, so a device object never outlives its renderer's
// reference; it can free the device copies of the core layer's own device
// owners (buffers). The render layer's Renderer derives from it and adds the
// rest of the device interface.
#pragma once

#include "engine/core/RefCounted.h"

namespace zel {

class Buffer;

class DeviceHolder : public virtual RefCounted {
public:
    // Frees the buffer's device copy and clears its binding.
    virtual void ReleaseBuffer(Buffer* buffer) = 0;
};

}  // namespace zel
