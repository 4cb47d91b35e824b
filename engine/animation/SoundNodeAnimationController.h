// Starts and stops its owner sound node's channel from on/off keys: the
// current key of the last stage that plays a bool-keyed animation decides,
// with no interpolation. Attached to a SoundNode.
#pragma once

#include "engine/animation/AnimationController.h"

namespace zel {

class SoundNodeAnimationController : public AnimationController {
    ZEL_DECLARE_RTTI

public:
    // The track update; then, when active and owned by a SoundNode: off
    // stops a playing channel and clears the node's playing flag; on starts
    // the channel from its beginning unless it is already playing and sets
    // the flag. Calls on a node without a channel are skipped.
    void Update(double dt) override;
};
ZEL_REGISTER_CLASS(SoundNodeAnimationController)

}  // namespace zel
