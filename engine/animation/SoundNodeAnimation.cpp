#include "engine/animation/SoundNodeAnimation.h"

#include <new>

namespace zel {

ZEL_DEFINE_RTTI(SoundNodeAnimation, Animation)

Keyframe* SoundNodeAnimation::CreateKeyframe() const { return new (std::nothrow) BoolKeyframe(); }

}  // namespace zel
