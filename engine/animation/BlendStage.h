// One blend stage of an animation controller: the animation it plays, its
// weight, and the key pair and fraction for the stage's current local phase.
// A value record held by the controller; not streamed.
#pragma once

#include <cstdint>

#include "engine/animation/Animation.h"
#include "engine/core/Pointer.h"

namespace zel {

struct BlendStage {
    Pointer<Animation> animation;
    float weight = 1.0f;
    int32_t key = 0;      // the last key at or before the local phase
    int32_t nextKey = 0;  // (key + 1) mod the key count
    double fraction = 0.0;  // position between key and nextKey, 0..1

    // Finds the key pair around local phase t on the cyclic key list.
    // Nothing without an animation or keys.
    void Advance(double t);

    // True when the animation exists and key and nextKey index its keys
    // (the animation may have been swapped since the last Advance).
    bool HasKeyPair() const;
};

}  // namespace zel
