// Turns its owner light towards a target node every frame, before the
// light's own update, as TargetCameraController does for a camera.
#pragma once

#include "engine/core/Controller.h"
#include "engine/core/Pointer.h"
#include "engine/scene/Node.h"

namespace zel {

class TargetLightController : public Controller {
    ZEL_DECLARE_RTTI

public:
    // Parent data, then the target (link).
    int32_t Save(Stream& stream) override;
    int32_t Load(Stream& stream) override;

    // Nothing unless active, owned by a Light and given a target. Otherwise
    // as TargetCameraController::Update, with the camera's look-along rule
    // (up hint (0, 1, 0); a target straight above or below gives a zero
    // right axis).
    void Update(double dt) override;

    Node* GetTarget() const { return target_; }
    void SetTarget(Node* target) { target_ = target; }

private:
    Pointer<Node> target_;
};
ZEL_REGISTER_CLASS(TargetLightController)

}  // namespace zel
