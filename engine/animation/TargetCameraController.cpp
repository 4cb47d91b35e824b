#include "engine/animation/TargetCameraController.h"

#include "engine/core/Stream.h"
#include "engine/scene/Camera.h"

namespace zel {

ZEL_DEFINE_RTTI(TargetCameraController, Controller)

void TargetCameraController::Update(double) {
    if (!IsActive() || target_ == nullptr) return;
    Camera* camera = CastTo<Camera>(GetOwner());
    if (camera == nullptr) return;
    camera->SetUpdateWorldTransform(true);
    camera->ComputeWorldTransform();
    camera->SetUpdateWorldTransform(false);
    camera->LookAlong(target_->GetWorld().translation - camera->GetWorld().translation);
    camera->GetWorld().rotation = camera->GetLocal().rotation;
    camera->GetWorld().ClearFlags();
}

int32_t TargetCameraController::Save(Stream& stream) {
    if (Controller::Save(stream) != kOk) return SaveParentFailed();
    if (stream.WriteLink(target_) != 0) return FailWithNameId("Невозможно сохранить цель камеры. Имя[%s] ID[%d]");
    return kOk;
}

int32_t TargetCameraController::Load(Stream& stream) {
    if (Controller::Load(stream) != kOk) return LoadParentFailed();
    if (stream.ReadLinkAs(target_) != 0) return FailWithIdName("Невозможно загрузить цель камеры. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
