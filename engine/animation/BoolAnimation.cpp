#include "engine/animation/BoolAnimation.h"

#include <new>

namespace zel {

ZEL_DEFINE_RTTI(BoolAnimation, Animation)

Keyframe* BoolAnimation::CreateKeyframe() const { return new (std::nothrow) BoolKeyframe(); }

}  // namespace zel
