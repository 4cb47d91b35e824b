#include "engine/animation/TargetCameraController.h"

namespace zel {

ZEL_DEFINE_RTTI(TargetCameraController, Controller)

}  // namespace zel
