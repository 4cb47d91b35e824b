// Plays node animations onto its owner's local transform: each stage blends
// its interpolated pose into the running result by the stage's weight, so
// stage 0 at weight 1 replaces the previous pose and stage 1 at weight w
// moves it a fraction w towards its own.
#pragma once

#include "engine/animation/AnimationController.h"

namespace zel {

class NodeAnimationController : public AnimationController {
    ZEL_DECLARE_RTTI

public:
    // The track update, then, when active and owned by a Node, the blend of
    // every stage that plays a NodeAnimation with a valid key pair. Writes
    // the local transform, clears its flags and turns the owner's world
    // transform update on.
    void Update(double dt) override;
};
ZEL_REGISTER_CLASS(NodeAnimationController)

}  // namespace zel
