#include "engine/animation/CameraActivateAnimationController.h"

#include "engine/animation/BoolKeyframe.h"
#include "engine/core/Stream.h"
#include "engine/render/Renderer.h"
#include "engine/scene/Camera.h"

namespace zel {

ZEL_DEFINE_RTTI(CameraActivateAnimationController, AnimationController)

namespace {
// Rewinding a linked controller may rewind that one's linked controllers in
// turn; a file could chain them deeper than the call stack allows.
constexpr int32_t kMaxRewindDepth = 64;
int32_t gRewindDepth = 0;
}  // namespace

void CameraActivateAnimationController::Update(double) {
    if (!IsActive() || cameraController_ == nullptr || GetOwner() == nullptr) return;
    Renderer* renderer = GetCurrentRenderer();
    Camera* current = renderer != nullptr ? renderer->GetCamera() : nullptr;
    if (current != nullptr && static_cast<Object*>(current) == GetOwner())
        FollowCamera();
    else
        LeaveCamera();
}

void CameraActivateAnimationController::FollowCamera() {
    cameraController_->SetActive(true);
    if (targetController_ != nullptr) targetController_->SetActive(true);
    SetPhase(cameraController_->GetPhase());
    AnimationController::Update(0.0);
    bool on = true;
    for (int32_t i = 0; i < GetStageCount(); ++i)
        if (const BoolKeyframe* key = BoolKeyframe::CurrentKey(GetStage(i))) on = key->value;
    for (AnimationController* linked : linkedControllers_)
        if (linked != nullptr) linked->SetActive(on);
}

void CameraActivateAnimationController::LeaveCamera() {
    const bool wasActive = cameraController_->IsActive();
    cameraController_->SetActive(false);
    cameraController_->Reset();
    if (targetController_ != nullptr) {
        targetController_->SetActive(false);
        targetController_->Reset();
    }
    if (!wasActive || gRewindDepth >= kMaxRewindDepth) return;
    // The shot has just ended: its controllers go back to their first pose.
    ++gRewindDepth;
    for (int32_t i = 0; i < linkedControllers_.Count(); ++i) {
        // Held, so a linked controller that detaches itself survives the call.
        Pointer<AnimationController> linked = linkedControllers_[i];
        if (linked == nullptr) continue;
        linked->SetActive(true);
        linked->SetPhase(0.0);
        linked->Update(0.0);
        linked->SetActive(false);
    }
    --gRewindDepth;
}

int32_t CameraActivateAnimationController::Save(Stream& stream) {
    if (AnimationController::Save(stream) != kOk) return SaveParentFailed();
    if (stream.WriteLink(cameraController_) != 0)
        return FailWithNameId("Невозможно сохранить контроллер анимации камеры. Имя[%s] ID[%d]");
    if (stream.WriteLink(targetController_) != 0)
        return FailWithNameId("Невозможно сохранить контроллер анимации цели камеры. Имя[%s] ID[%d]");
    if (stream.WriteInt32(linkedControllers_.Count()) != 0)
        return FailWithNameId("Невозможно сохранить количество дочерних узлов. Имя[%s] ID[%d]");
    for (AnimationController* linked : linkedControllers_)
        if (stream.WriteLink(linked) != 0)
            return FailWithNameId("Невозможно сохранить ссылку на контроллер анимации. Имя[%s] ID[%d]");
    return kOk;
}

int32_t CameraActivateAnimationController::Load(Stream& stream) {
    if (AnimationController::Load(stream) != kOk) return LoadParentFailed();
    if (stream.ReadLinkAs(cameraController_) != 0)
        return FailWithIdName("Невозможно загрузить контроллер анимации камеры. ID[%d] Имя[%s]");
    if (stream.ReadLinkAs(targetController_) != 0)
        return FailWithIdName("Невозможно загрузить контроллер анимации цели камеры. ID[%d] Имя[%s]");
    return LoadLinkedControllers(stream);
}

void CameraActivateAnimationController::VisitLinks(LinkVisitor& visitor) {
    AnimationController::VisitLinks(visitor);
    VisitLinkArray(linkedControllers_, visitor);
    VisitLink(cameraController_, visitor);
    VisitLink(targetController_, visitor);
}

int32_t CameraActivateAnimationController::LoadLinkedControllers(Stream& stream) {
    linkedControllers_.Clear();
    int32_t count = 0;
    // Every link takes at least four bytes, which bounds the block below.
    if (stream.ReadCount(count, 4) != 0 || linkedControllers_.Reserve(count) != kOk)
        return FailWithIdName("Невозможно загрузить количество контроллеров анимации. ID[%d] Имя[%s]");
    for (int32_t i = 0; i < count; ++i) {
        Pointer<AnimationController> linked;
        if (stream.ReadLinkAs(linked) != 0)
            return FailWithIdName("Невозможно загрузить контроллер анимации. ID[%d] Имя[%s]");
        linkedControllers_.Append(linked);
    }
    return kOk;
}

}  // namespace zel
