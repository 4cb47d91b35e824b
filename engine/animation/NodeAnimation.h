// Transform keys for a node; played by NodeAnimationController.
#pragma once

#include "engine/animation/Animation.h"
#include "engine/animation/NodeKeyframe.h"

namespace zel {

class NodeAnimation : public Animation {
    ZEL_DECLARE_RTTI

public:
    // A new NodeKeyframe, owned by the caller; null when out of memory.
    [[nodiscard]] Keyframe* CreateKeyframe() const override;
    // Not owning; null outside 0..count − 1.
    NodeKeyframe* GetNodeKeyframe(int32_t index) const { return static_cast<NodeKeyframe*>(GetKey(index)); }
};
ZEL_REGISTER_CLASS(NodeAnimation)

}  // namespace zel
