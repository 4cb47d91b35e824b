#include "engine/animation/TargetLightController.h"

namespace zel {

ZEL_DEFINE_RTTI(TargetLightController, Controller)

}  // namespace zel
