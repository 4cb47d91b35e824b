// Drives the animation controllers of a skeleton's bones as one: each bone
// controller owns per-bone animations named like the skeleton's, so one
// stage choice by name switches every bone. Bone controllers stay inactive
// and are run only from here, so their nodes' own controller lists leave
// them alone.
#pragma once

#include "engine/animation/AnimationController.h"
#include "engine/core/GrowableArray.h"
#include "engine/core/Pointer.h"

namespace zel {

class SkeletonAnimationController : public AnimationController {
    ZEL_DECLARE_RTTI

public:
    // Parent data, then the bone controller count and each bone controller
    // (link).
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // The animation controller's search, then each bone controller's.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The parent's links, then the bone controllers.
    void VisitLinks(LinkVisitor& visitor) override;

    // Its own track update; then, when active, each bone controller in
    // order is made active, updated and made inactive again. Null links are
    // skipped; a controller reached again while updating (a skeleton among
    // its own bones) is not run twice.
    void Update(double dt) override;
    // Its own reset, then every bone controller loses its stages and keeps
    // its phase.
    void Reset() override;
    // The same stage of itself and of every bone controller.
    int32_t SetStage(Animation* animation, int32_t stage, float weight) override;
    // Its own choice by name; then every bone controller's stage gets that
    // bone controller's last animation of that name with the weight, or,
    // without one, no animation and its old weight.
    int32_t SetStageByName(const String& name, int32_t stage, float weight) override;
    void SetStageWeight(int32_t stage, float weight) override;
    void SetPhase(double phase) override;

    // 2 out of memory.
    [[nodiscard]] int32_t AddBoneController(AnimationController* controller);
    // Releases every bone controller (also breaks a cycle of skeletons).
    void ClearBoneControllers() { boneControllers_.Clear(); }
    int32_t GetBoneControllerCount() const { return boneControllers_.Count(); }
    AnimationController* GetBoneController(int32_t index) const { return boneControllers_[index]; }

private:
    GrowableArray<Pointer<AnimationController>> boneControllers_{1, 1};
    // Set while the bones are updated or searched, so that cycles of
    // skeletons stop.
    bool busy_ = false;
};
ZEL_REGISTER_CLASS(SkeletonAnimationController)

}  // namespace zel
