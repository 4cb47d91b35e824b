// On/off keys; read by the camera-activate controller to switch its linked
// controllers.
#pragma once

#include "engine/animation/Animation.h"
#include "engine/animation/BoolKeyframe.h"

namespace zel {

class BoolAnimation : public Animation {
    ZEL_DECLARE_RTTI

public:
    // A new BoolKeyframe, owned by the caller; null when out of memory.
    [[nodiscard]] Keyframe* CreateKeyframe() const override;
    // Not owning; null outside 0..count − 1.
    BoolKeyframe* GetBoolKeyframe(int32_t index) const { return static_cast<BoolKeyframe*>(GetKey(index)); }
};
ZEL_REGISTER_CLASS(BoolAnimation)

}  // namespace zel
