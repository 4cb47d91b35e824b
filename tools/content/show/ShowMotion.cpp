#include "tools/content/show/ShowMotion.h"

#include <new>

#include "engine/animation/AnimationFrame.h"
#include "engine/animation/BoolKeyframe.h"
#include "engine/animation/NodeAnimation.h"
#include "engine/animation/NodeAnimationController.h"
#include "engine/animation/NodeKeyframe.h"

namespace zel {

Pointer<NodeAnimation> MakeNodeAnimation(const char* name, const std::vector<Pose>& poses,
                                         const std::vector<double>& times) {
    Pointer<NodeAnimation> animation = new (std::nothrow) NodeAnimation();
    if (animation == nullptr || poses.empty()) return nullptr;
    animation->SetName(String(name));
    const size_t count = poses.size();
    for (size_t i = 0; i < count; ++i) {
        auto* key = static_cast<NodeKeyframe*>(animation->CreateKeyframe());
        if (key == nullptr) return nullptr;
        key->time = !times.empty() ? times[i] : (count > 1 ? 0.999 * static_cast<double>(i) / (count - 1) : 0.0);
        key->translation = poses[i].translation;
        key->rotation = poses[i].rotation;
        key->scale = poses[i].scale;
        if (animation->AddKey(key) != 0) return nullptr;
    }
    return animation;
}

int PlayLooping(AnimationController& controller, Animation* animation, double period) {
    if (animation == nullptr || controller.AddAnimation(animation) != 0) return 1;
    AnimationFrame frame;
    frame.animation = animation;
    frame.start = 0.0;
    frame.end = 1.0;
    frame.mode = AnimationFrame::kModeLoop;
    controller.SetTrackPeriod(period);
    return controller.AddFrame(frame) == 0 ? 0 : 1;
}

Pointer<NodeAnimationController> AnimateNode(Object& owner, const char* name, const std::vector<Pose>& poses,
                                             double period, const std::vector<double>& times) {
    Pointer<NodeAnimationController> controller = new (std::nothrow) NodeAnimationController();
    if (controller == nullptr || PlayLooping(*controller, MakeNodeAnimation(name, poses, times), period) != 0 ||
        owner.AttachController(controller) != 0)
        return nullptr;
    return controller;
}

int AddSwitchKeys(Animation& animation, std::initializer_list<std::pair<double, bool>> keys) {
    for (const auto& [time, value] : keys) {
        auto* key = static_cast<BoolKeyframe*>(animation.CreateKeyframe());
        if (key == nullptr) return 1;
        key->time = time;
        key->value = value;
        if (animation.AddKey(key) != 0) return 1;
    }
    return 0;
}

Pose Looking(const Vector3& from, const Vector3& to) { return {from, Quaternion::LookAlong(Normalize(to - from))}; }

}  // namespace zel
