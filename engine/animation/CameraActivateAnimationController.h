// Runs a camera's own animation only while that camera is the one the
// current renderer draws through, restarting it each time the camera
// becomes current, and switches a list of other animation controllers on
// and off by its own bool keys, evaluated at the camera animation's phase.
// Attached to the camera.
#pragma once

#include "engine/animation/AnimationController.h"
#include "engine/core/GrowableArray.h"
#include "engine/core/Pointer.h"

namespace zel {

class CameraActivateAnimationController : public AnimationController {
    ZEL_DECLARE_RTTI

public:
    // Parent data, the camera controller and the target controller (links),
    // then the linked controllers (count, links).
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // The parent's links, then the linked, camera and target controllers.
    void VisitLinks(LinkVisitor& visitor) override;

    // Nothing unless active, owned and given a camera controller; dt is not
    // used. While the owner is the current camera: the camera (and target)
    // controllers are switched on, this controller's stages are evaluated
    // at the camera controller's phase and the linked controllers follow the
    // bool key of its last bool-keyed stage (on when there is none).
    // Otherwise the camera (and target) controllers are switched off and
    // reset; when the camera controller was on until now, each linked
    // controller is put back to its first pose (on, phase 0, Update(0))
    // and switched off. Null entries of the list are skipped.
    void Update(double dt) override;

    AnimationController* GetCameraController() const { return cameraController_; }
    void SetCameraController(AnimationController* controller) { cameraController_ = controller; }
    AnimationController* GetTargetController() const { return targetController_; }
    void SetTargetController(AnimationController* controller) { targetController_ = controller; }
    // 2 out of memory.
    [[nodiscard]] int32_t AddLinkedController(AnimationController* controller) { return linkedControllers_.Append(controller); }
    // Releases the linked controllers (a controller linked to itself is
    // only freed after this).
    void ClearLinkedControllers() { linkedControllers_.Clear(); }
    int32_t GetLinkedControllerCount() const { return linkedControllers_.Count(); }
    AnimationController* GetLinkedController(int32_t index) const { return linkedControllers_[index]; }

private:
    void FollowCamera();
    void LeaveCamera();
    int32_t LoadLinkedControllers(Stream& stream);

    GrowableArray<Pointer<AnimationController>> linkedControllers_{1, 1};
    Pointer<AnimationController> cameraController_;
    Pointer<AnimationController> targetController_;
};
ZEL_REGISTER_CLASS(CameraActivateAnimationController)

}  // namespace zel
