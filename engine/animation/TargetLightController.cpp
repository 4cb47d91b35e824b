#include "engine/animation/TargetLightController.h"

#include "engine/core/Stream.h"
#include "engine/scene/Light.h"
#include "engine/scene/math/Matrix3.h"

namespace zel {

ZEL_DEFINE_RTTI(TargetLightController, Controller)

void TargetLightController::Update(double) {
    if (!IsActive() || target_ == nullptr) return;
    Light* light = CastTo<Light>(GetOwner());
    if (light == nullptr) return;
    light->SetUpdateWorldTransform(true);
    light->ComputeWorldTransform();
    light->SetUpdateWorldTransform(false);
    // Camera::LookAlong's rule; a light has no such member.
    const Vector3 forward = Normalize(target_->GetWorld().translation - light->GetWorld().translation);
    const Vector3 right = Normalize(Cross(Vector3{0.0f, 1.0f, 0.0f}, forward));
    const Vector3 up = Normalize(Cross(forward, right));
    light->GetLocal().rotation = Quaternion::FromMatrix(Matrix3::FromColumns(right, up, forward));
    light->GetLocal().ClearFlags();
    light->GetWorld().rotation = light->GetLocal().rotation;
    light->GetWorld().ClearFlags();
}

int32_t TargetLightController::Save(Stream& stream) {
    if (Controller::Save(stream) != kOk) return SaveParentFailed();
    if (stream.WriteLink(target_) != 0)
        return FailWithNameId("Невозможно сохранить цель источника света. Имя[%s] ID[%d]");
    return kOk;
}

int32_t TargetLightController::Load(Stream& stream) {
    if (Controller::Load(stream) != kOk) return LoadParentFailed();
    if (stream.ReadLinkAs(target_) != 0)
        return FailWithIdName("Невозможно загрузить цель источника света. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
