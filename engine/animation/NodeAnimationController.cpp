#include "engine/animation/NodeAnimationController.h"

#include "engine/animation/NodeAnimation.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(NodeAnimationController, AnimationController)

void NodeAnimationController::Update(double dt) {
    AnimationController::Update(dt);
    if (!IsActive()) return;
    Node* node = CastTo<Node>(GetOwner());
    if (node == nullptr) return;

    Transform& local = node->GetLocal();
    Vector3 position = local.translation;
    Quaternion rotation = local.rotation;
    Vector3 scale = local.scale;
    for (int32_t i = 0; i < GetStageCount(); ++i) {
        const BlendStage& stage = GetStage(i);
        const NodeAnimation* animation = CastTo<NodeAnimation>(stage.animation.Get());
        if (animation == nullptr || !stage.HasKeyPair()) continue;
        const NodeKeyframe& a = *animation->GetNodeKeyframe(stage.key);
        const NodeKeyframe& b = *animation->GetNodeKeyframe(stage.nextKey);
        const float f = static_cast<float>(stage.fraction);
        const float w = stage.weight;
        rotation = Quaternion::Slerp(w, rotation, Quaternion::Slerp(f, a.rotation, b.rotation));
        position = position + (Lerp(a.translation, b.translation, f) - position) * w;
        scale = scale + (Lerp(a.scale, b.scale, f) - scale) * w;
    }
    local.translation = position;
    local.rotation = rotation;
    local.scale = scale;
    local.ClearFlags();
    node->SetUpdateWorldTransform(true);
}

}  // namespace zel
