#include "engine/animation/NodeAnimation.h"

#include <new>

namespace zel {

ZEL_DEFINE_RTTI(NodeAnimation, Animation)

Keyframe* NodeAnimation::CreateKeyframe() const { return new (std::nothrow) NodeKeyframe(); }

}  // namespace zel
