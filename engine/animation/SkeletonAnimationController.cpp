#include "engine/animation/SkeletonAnimationController.h"

#include "engine/core/Stream.h"

namespace zel {

ZEL_DEFINE_RTTI(SkeletonAnimationController, AnimationController)

// The bone controllers are driven through the base class's operations
// (qualified calls), so that a skeleton among the bones does not pass the
// call on again: stage choices reach one level of bones.

void SkeletonAnimationController::Update(double dt) {
    if (busy_) return;
    AnimationController::Update(dt);
    if (!IsActive()) return;
    busy_ = true;
    for (const Pointer<AnimationController>& bone : boneControllers_) {
        if (bone == nullptr || bone == this) continue;
        bone->SetActive(true);
        bone->Update(dt);
        bone->SetActive(false);
    }
    busy_ = false;
}

void SkeletonAnimationController::Reset() {
    AnimationController::Reset();
    for (const Pointer<AnimationController>& bone : boneControllers_) {
        if (bone == nullptr) continue;
        const double phase = bone->GetPhase();
        bone->AnimationController::Reset();
        bone->AnimationController::SetPhase(phase);
    }
}

int32_t SkeletonAnimationController::SetStage(Animation* animation, int32_t stage, float weight) {
    int32_t result = AnimationController::SetStage(animation, stage, weight);
    for (const Pointer<AnimationController>& bone : boneControllers_)
        if (bone != nullptr && result == kOk) result = bone->AnimationController::SetStage(animation, stage, weight);
    return result;
}

namespace {

// The last animation of the controller named `name`, or null.
Animation* LastNamed(const AnimationController& controller, const String& name) {
    Animation* match = nullptr;
    for (int32_t i = 0; i < controller.GetAnimationCount(); ++i)
        if (controller.GetAnimation(i) != nullptr && controller.GetAnimation(i)->GetName() == name)
            match = controller.GetAnimation(i);
    return match;
}

}  // namespace

// The own part is the base rule spelt out with the base's SetStage: the
// inherited SetStageByName would reach the bones through this class's
// SetStage and give them the weight even where they have no match.
int32_t SkeletonAnimationController::SetStageByName(const String& name, int32_t stage, float weight) {
    int32_t result = AnimationController::SetStage(nullptr, stage, weight);
    if (result != kOk) return result;
    if (Animation* own = LastNamed(*this, name)) AnimationController::SetStage(own, stage, weight);
    for (const Pointer<AnimationController>& bone : boneControllers_) {
        if (bone == nullptr || bone == this) continue;
        Animation* match = LastNamed(*bone, name);
        // Without a match the stage is emptied but keeps its weight (a new
        // stage has the default weight).
        const float kept =
            stage < bone->GetStageCount() ? bone->GetStage(stage).weight : BlendStage().weight;
        result = bone->AnimationController::SetStage(match, stage, match != nullptr ? weight : kept);
        if (result != kOk) return result;
    }
    return kOk;
}

void SkeletonAnimationController::SetStageWeight(int32_t stage, float weight) {
    AnimationController::SetStageWeight(stage, weight);
    for (const Pointer<AnimationController>& bone : boneControllers_)
        if (bone != nullptr) bone->AnimationController::SetStageWeight(stage, weight);
}

void SkeletonAnimationController::SetPhase(double phase) {
    AnimationController::SetPhase(phase);
    for (const Pointer<AnimationController>& bone : boneControllers_)
        if (bone != nullptr) bone->AnimationController::SetPhase(phase);
}

int32_t SkeletonAnimationController::AddBoneController(AnimationController* controller) {
    return boneControllers_.Append(Pointer<AnimationController>(controller));
}

Object* SkeletonAnimationController::FindByName(const String& name) {
    if (busy_) return nullptr;
    Object* found = AnimationController::FindByName(name);
    busy_ = true;
    for (int32_t i = 0; found == nullptr && i < boneControllers_.Count(); ++i)
        found = FindIn(boneControllers_[i], name);
    busy_ = false;
    return found;
}

void SkeletonAnimationController::CollectByType(const Rtti& type, ObjectArray& objects) {
    if (busy_) return;
    AnimationController::CollectByType(type, objects);
    busy_ = true;
    for (const Pointer<AnimationController>& bone : boneControllers_) CollectIn(bone, type, objects);
    busy_ = false;
}

void SkeletonAnimationController::VisitLinks(LinkVisitor& visitor) {
    AnimationController::VisitLinks(visitor);
    VisitLinkArray(boneControllers_, visitor);
}

int32_t SkeletonAnimationController::Save(Stream& stream) {
    if (AnimationController::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteInt32(boneControllers_.Count()) != 0)
        return FailWithNameId("Невозможно сохранить количество контроллеров анимации костей. Имя[%s] ID[%d]");
    for (const Pointer<AnimationController>& bone : boneControllers_)
        if (stream.WriteLink(bone) != 0)
            return FailWithNameId("Невозможно сохранить контроллер анимации костей. Имя[%s] ID[%d]");
    return kOk;
}

int32_t SkeletonAnimationController::Load(Stream& stream) {
    if (AnimationController::Load(stream) != 0) return LoadParentFailed();
    int32_t count = 0;
    // Every link takes at least four bytes.
    if (stream.ReadCount(count, 4) != 0)
        return FailWithIdName("Невозможно загрузить количество контроллеров анимации костей. ID[%d] Имя[%s]");
    boneControllers_.Clear();
    for (int32_t i = 0; i < count; ++i) {
        Pointer<AnimationController> bone;
        if (stream.ReadLinkAs(bone) != 0)
            return FailWithNameId("Невозможно загрузить контроллер анимации костей. Имя[%s] ID[%d]");
        if (boneControllers_.Append(bone) != kOk) return kOutOfMemory;
    }
    return kOk;
}

}  // namespace zel
