// An on/off key, used by bool and sound-node animations. Bool keys are
// never interpolated: the stage's current key decides.
#pragma once

#include "engine/animation/Keyframe.h"

namespace zel {

struct BlendStage;

class BoolKeyframe : public Keyframe {
public:
    // After the time: the value (1 byte). 0 or 1; failures are logged.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // The stage's current key when its animation holds bool keys (a
    // BoolAnimation or SoundNodeAnimation with the key in range), else null.
    static const BoolKeyframe* CurrentKey(const BlendStage& stage);

    bool value = true;
};

}  // namespace zel
