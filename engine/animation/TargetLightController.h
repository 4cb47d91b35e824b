// Turns its owner light towards a target node every frame (see
// TargetController).
#pragma once

#include "engine/animation/TargetController.h"
#include "engine/scene/Light.h"

namespace zel {

class TargetLightController : public TargetController<TargetLightController, Light> {
    ZEL_DECLARE_RTTI

public:
    static constexpr const char* kTargetNotSaved = "Невозможно сохранить цель источника света. Имя[%s] ID[%d]";
    static constexpr const char* kTargetNotLoaded = "Невозможно загрузить цель источника света. ID[%d] Имя[%s]";
};
ZEL_REGISTER_CLASS(TargetLightController)

}  // namespace zel
