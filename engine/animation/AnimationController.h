// A controller that plays keyframe animations along a track. The track
// phase runs from 0 to 1 in trackPeriod seconds and wraps; frames (time
// windows on the track, in file order) pick the animations that play, and
// up to two blend stages hold them with their weights and current key
// pairs. Derived controllers turn the stages into effects on their owner.
#pragma once

#include <cstdint>

#include "engine/animation/AnimationFrame.h"
#include "engine/animation/BlendStage.h"
#include "engine/core/Controller.h"
#include "engine/core/GrowableArray.h"
#include "engine/core/Pointer.h"

namespace zel {

class AnimationController : public Controller {
    ZEL_DECLARE_RTTI

public:
    AnimationController() = default;

    // Parent data, the animations (count, links), the frames (count, each
    // frame) and the track period. Stages and phase are not stored: a loaded
    // controller starts at phase 0 with no stages.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // The controller's own search, then each animation in array order.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The controller's links, then the animations, the blend stages' and the frames'.
    void VisitLinks(LinkVisitor& visitor) override;

    // Nothing unless active. Advances the phase by dt / trackPeriod (held
    // when that step is not finite, e.g. a period of 0), takes the first two
    // frames that contain the phase onto stages 0 and 1, weighs the stages
    // and advances each to its frame's bounded local phase.
    void Update(double dt) override;
    // No stages and phase 0.
    void Reset() override;

    // Appends default stages until index `stage` exists, then stores the
    // animation (counted) and the weight; the key pair is left as it was.
    // 3 for a negative index; 2 out of memory.
    virtual int32_t SetStage(Animation* animation, int32_t stage, float weight);
    // As SetStage with the last animation of the array named `name`; with
    // no match the stage is left without animation.
    virtual int32_t SetStageByName(const String& name, int32_t stage, float weight);
    // Only when the stage exists.
    virtual void SetStageWeight(int32_t stage, float weight);
    virtual void SetPhase(double phase) { phase_ = phase; }

    double GetPhase() const { return phase_; }
    double GetTrackPeriod() const { return trackPeriod_; }
    void SetTrackPeriod(double seconds) { trackPeriod_ = seconds; }

    int32_t GetStageCount() const { return stages_.Count(); }
    // Index must be in 0..GetStageCount() − 1.
    const BlendStage& GetStage(int32_t index) const { return stages_[index]; }

    // 2 out of memory.
    [[nodiscard]] int32_t AddAnimation(Animation* animation);
    int32_t GetAnimationCount() const { return animations_.Count(); }
    Animation* GetAnimation(int32_t index) const { return animations_[index]; }
    // 2 out of memory.
    [[nodiscard]] int32_t AddFrame(const AnimationFrame& frame);
    int32_t GetFrameCount() const { return frames_.Count(); }
    const AnimationFrame& GetFrame(int32_t index) const { return frames_[index]; }

private:
    void AdvancePhase(double dt);
    // Weights of stages 0 and 1 from the active frames (b may be null).
    void WeighStages(const AnimationFrame* a, const AnimationFrame* b);
    // The stage's animation, or null when the stage does not exist.
    Animation* StageAnimation(int32_t stage) const;
    int32_t LoadAnimations(Stream& stream);
    int32_t LoadFrames(Stream& stream);

    GrowableArray<Pointer<Animation>> animations_{1, 1};
    GrowableArray<BlendStage> stages_{1, 1};
    double trackPeriod_ = 0.0;
    double phase_ = 0.0;
    GrowableArray<AnimationFrame> frames_{1, 1};
};
ZEL_REGISTER_ABSTRACT_CLASS(AnimationController)

}  // namespace zel
