// Keyframed motion for the show: poses spread evenly over a looping track.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "engine/core/Pointer.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vector3.h"

namespace zel {

class Animation;
class AnimationController;
class NodeAnimation;
class NodeAnimationController;
class Object;

struct Pose {
    Vector3 translation;
    Quaternion rotation;
    Vector3 scale{1.0f, 1.0f, 1.0f};
};

// Poses at times 0 .. 0.999 evenly, or at `times` when given (same count).
Pointer<NodeAnimation> MakeNodeAnimation(const char* name, const std::vector<Pose>& poses,
                                         const std::vector<double>& times = {});
// Gives `controller` the animation on one looping frame over the whole
// track of `period` seconds. 0 ok.
int PlayLooping(AnimationController& controller, Animation* animation, double period);
// A node-animation controller playing `poses` on `owner` every `period`
// seconds; null when memory runs out.
Pointer<NodeAnimationController> AnimateNode(Object& owner, const char* name, const std::vector<Pose>& poses,
                                             double period, const std::vector<double>& times = {});
// On/off keys at the given times, for bool and sound-node animations (whose
// keys are bool keys). 0 ok; 1 out of memory.
int AddSwitchKeys(Animation& animation, std::initializer_list<std::pair<double, bool>> keys);
// Looking from `from` towards `to`.
Pose Looking(const Vector3& from, const Vector3& to);

}  // namespace zel
