// What the shared material passes read from their effect at every draw:
// pointers into the effect's own members (the effect outlives its passes).
// Each effect class fills in the slots it has; the others stay null.
#pragma once

#include <cstdint>

#include "engine/core/Pointer.h"
#include "engine/math/Color.h"

namespace zel {

class Light;
class Texture;

struct MaterialTextureSlot {
    const Pointer<Texture>* texture = nullptr;
    const int32_t* set = nullptr;  // index of the node's coordinate buffer

    bool IsThere() const { return texture != nullptr; }
    Texture* Get() const { return texture != nullptr ? texture->Get() : nullptr; }
};

struct MaterialSlots {
    const ColorRGBA* color = nullptr;
    MaterialTextureSlot texture;
    MaterialTextureSlot lightmap;
    MaterialTextureSlot normalmap;
    const Pointer<Light>* light = nullptr;

    Light* GetLight() const { return light != nullptr ? light->Get() : nullptr; }
};

}  // namespace zel
