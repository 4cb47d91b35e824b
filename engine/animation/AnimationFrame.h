// A time window on an animation controller's track: while the track phase
// lies in [start, end] the frame's animation plays, with its own local
// phase. A value record streamed by the controller.
#pragma once

#include <cstdint>

#include "engine/animation/Animation.h"
#include "engine/core/Pointer.h"

namespace zel {

class Stream;

struct AnimationFrame {
    static constexpr int32_t kModeOnce = 0;
    static constexpr int32_t kModeLoop = 1;
    static constexpr int32_t kModePingPong = 2;

    Pointer<Animation> animation;
    double start = 0.0;
    double end = 0.0;
    // Loaded values other than 0, 1, 2 behave as kModeOnce.
    int32_t mode = kModeLoop;
    double speed = 1.0;   // multiplier of the track progress inside the frame
    double offset = 0.0;  // added to the progress inside the frame

    bool Contains(double phase) const { return start <= phase && phase <= end; }

    // The frame's local phase at track phase `phase`, wrapped by the mode
    // (once: unwrapped). False when there is none: a frame of zero length,
    // or a result that is not finite; the stage then keeps its keys.
    bool LocalPhase(double phase, double& u) const;
    // Stage 0's bound: once, u outside [0, 1) restarts at 0; loop and
    // ping-pong, u ≥ 1 becomes 0.
    double BoundForFirstStage(double u) const;
    // Stage 1's bound: once, u is held within [0, 1]; otherwise unchanged.
    double BoundForSecondStage(double u) const;

    // Link, mode (int), start, end, speed, offset (doubles). The result is
    // 0 or 1; the frame logs its own line.
    [[nodiscard]] int32_t Save(Stream& stream) const;
    [[nodiscard]] int32_t Load(Stream& stream);

    // Bytes of one frame on the stream: its link and its numbers.
    static constexpr int32_t kStreamedBytes = 4 + 4 + 4 * 8;
};

}  // namespace zel
