// One shot of the show: a camera, the animation controllers that drive it
// (found on the camera when the set is made), the second at which the
// application starts fading in, and how long the shot lasts. A value record
// held and streamed by the ScreensaverController.
#pragma once

#include <cstdint>

#include "engine/animation/AnimationController.h"
#include "engine/core/Pointer.h"
#include "engine/scene/Camera.h"

namespace zel {

class Stream;

struct ScreensaverSet {
    Pointer<Camera> camera;
    // Derived, not streamed: the camera's animation controller (the last
    // one in its list) and the first animation controller of the target of
    // its target-camera controller (the last such controller with a target).
    Pointer<AnimationController> cameraAnimation;
    Pointer<AnimationController> targetAnimation;
    double fadeInTime = 0.0;
    // Seconds the set stays current; replaced by the animations' period
    // when the set is chosen.
    double duration = 1.0;

    // Finds cameraAnimation and targetAnimation among the first 32
    // controllers of the camera's (and the target's) list.
    void DeriveControllers();

    // Camera (link), fade-in time and duration (doubles). 0 or 1; the set
    // logs its own line.
    [[nodiscard]] int32_t Save(Stream& stream) const;
    // Also derives the controllers.
    [[nodiscard]] int32_t Load(Stream& stream);

    // Bytes of one set on the stream.
    static constexpr int32_t kStreamedBytes = 4 + 2 * 8;
};

}  // namespace zel
