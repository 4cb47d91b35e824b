// The effect of a scene node: its passes decide, by their Draw results,
// where the node's children are drawn (shadow maps, post-render effects).
#pragma once

#include "engine/render/Effect.h"

namespace zel {

class SceneNode;

class SceneNodeEffect : public Effect {
    ZEL_DECLARE_RTTI

public:
    // The scene node carrying this effect; set by SceneNode::AddEffect. Not
    // owning: the node holds the effect.
    SceneNode* GetOwnerNode() const { return ownerNode_; }
    void SetOwnerNode(SceneNode* node) { ownerNode_ = node; }

private:
    SceneNode* ownerNode_ = nullptr;
};
ZEL_REGISTER_CLASS(SceneNodeEffect)

}  // namespace zel
