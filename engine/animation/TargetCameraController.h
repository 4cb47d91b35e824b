// Turns its owner camera towards a target node every frame, before the
// camera's own update: the camera's world transform is computed here and
// its update is told to leave it alone.
#pragma once

#include "engine/core/Controller.h"
#include "engine/core/Pointer.h"
#include "engine/scene/Node.h"

namespace zel {

class TargetCameraController : public Controller {
    ZEL_DECLARE_RTTI

public:
    // Parent data, then the target (link).
    int32_t Save(Stream& stream) override;
    int32_t Load(Stream& stream) override;

    // Nothing unless active, owned by a Camera and given a target. The
    // camera's world transform is computed, its world update turned off,
    // and it looks along (target − camera) in world space; the new rotation
    // goes into both the local and the world transform. The target's
    // position is whatever it holds now (its previous frame's when it is
    // updated later in the tree).
    void Update(double dt) override;

    Node* GetTarget() const { return target_; }
    void SetTarget(Node* target) { target_ = target; }

private:
    Pointer<Node> target_;
};
ZEL_REGISTER_CLASS(TargetCameraController)

}  // namespace zel
