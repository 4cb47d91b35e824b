#include "engine/animation/TargetLightController.h"

#include "engine/core/Stream.h"
#include "engine/scene/Light.h"

namespace zel {

ZEL_DEFINE_RTTI(TargetLightController, Controller)

void TargetLightController::Update(double) {
    if (!IsActive() || target_ == nullptr) return;
    Light* light = CastTo<Light>(GetOwner());
    if (light == nullptr) return;
    light->SetUpdateWorldTransform(true);
    light->ComputeWorldTransform();
    light->SetUpdateWorldTransform(false);
    light->GetLocal().rotation = Quaternion::LookAlong(target_->GetWorld().translation - light->GetWorld().translation);
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
