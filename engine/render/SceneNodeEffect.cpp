#include "engine/render/SceneNodeEffect.h"

namespace zel {

ZEL_DEFINE_RTTI(SceneNodeEffect, Effect)

}  // namespace zel
