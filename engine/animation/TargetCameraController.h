// Turns its owner camera towards a target node every frame (see
// TargetController).
#pragma once

#include "engine/animation/TargetController.h"
#include "engine/scene/Camera.h"

namespace zel {

class TargetCameraController : public TargetController<TargetCameraController, Camera> {
    ZEL_DECLARE_RTTI

public:
    static constexpr const char* kTargetNotSaved = "Невозможно сохранить цель камеры. Имя[%s] ID[%d]";
    static constexpr const char* kTargetNotLoaded = "Невозможно загрузить цель камеры. ID[%d] Имя[%s]";
};
ZEL_REGISTER_CLASS(TargetCameraController)

}  // namespace zel
