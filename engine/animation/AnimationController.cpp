#include "engine/animation/AnimationController.h"

#include <cmath>

#include "engine/core/Stream.h"

namespace zel {

ZEL_DEFINE_RTTI(AnimationController, Controller)

void AnimationController::Update(double dt) {
    if (!IsActive()) return;
    AdvancePhase(dt);

    const AnimationFrame* found[2] = {nullptr, nullptr};
    int32_t foundCount = 0;
    for (int32_t i = 0; i < frames_.Count() && foundCount < 2; ++i) {
        const AnimationFrame& frame = frames_[i];
        if (!frame.Contains(phase_)) continue;
        if (frame.animation.Get() != StageAnimation(foundCount)) SetStage(frame.animation, foundCount, 1.0f);
        found[foundCount++] = &frame;
    }
    WeighStages(found[0], found[1]);

    double u = 0.0;
    if (found[0] != nullptr && stages_.Count() > 0 && found[0]->LocalPhase(phase_, u))
        stages_[0].Advance(found[0]->BoundForFirstStage(u));
    if (found[1] != nullptr && stages_.Count() > 1 && found[1]->LocalPhase(phase_, u))
        stages_[1].Advance(found[1]->BoundForSecondStage(u));
}

void AnimationController::AdvancePhase(double dt) {
    const double step = dt / trackPeriod_;
    if (!std::isfinite(step)) return;
    phase_ += step;
    if (phase_ >= 1.0) phase_ -= std::floor(phase_);
}

void AnimationController::WeighStages(const AnimationFrame* a, const AnimationFrame* b) {
    if (b == nullptr) {
        if (StageAnimation(1) != nullptr) {
            SetStage(nullptr, 1, 0.0f);
            SetStageWeight(0, 1.0f);
        }
        return;
    }
    // Single precision, as the weights are stored.
    const float phase = static_cast<float>(phase_);
    float first = 0.5f;
    float second = 0.5f;
    if (a->start < b->start && a->end < b->end) {
        // b comes later: it takes over across the overlap [b.start, a.end].
        const float span = static_cast<float>(a->end) - static_cast<float>(b->start);
        if (span != 0.0f) {
            second = (phase - static_cast<float>(b->start)) / span;
            first = 1.0f - second;
        }
    } else if (a->start > b->start && a->end > b->end) {
        const float span = static_cast<float>(b->end) - static_cast<float>(a->start);
        if (span != 0.0f) {
            first = (phase - static_cast<float>(a->start)) / span;
            second = 1.0f - first;
        }
    }
    SetStageWeight(1, second);
    SetStageWeight(0, first);
}

Animation* AnimationController::StageAnimation(int32_t stage) const {
    return stage < stages_.Count() ? stages_[stage].animation.Get() : nullptr;
}

void AnimationController::Reset() {
    // The block stays for the stages set again after the reset.
    stages_.RemoveFront(stages_.Count());
    phase_ = 0.0;
}

int32_t AnimationController::SetStage(Animation* animation, int32_t stage, float weight) {
    if (stage < 0) return kInvalidArgument;
    while (stages_.Count() <= stage)
        if (stages_.Append(BlendStage()) != kOk) return kOutOfMemory;
    stages_[stage].animation = animation;
    stages_[stage].weight = weight;
    return kOk;
}

int32_t AnimationController::SetStageByName(const String& name, int32_t stage, float weight) {
    const int32_t result = SetStage(nullptr, stage, weight);
    if (result != kOk) return result;
    for (Animation* animation : animations_)
        if (animation != nullptr && animation->GetName() == name) stages_[stage].animation = animation;
    return kOk;
}

void AnimationController::SetStageWeight(int32_t stage, float weight) {
    if (stage >= 0 && stage < stages_.Count()) stages_[stage].weight = weight;
}

int32_t AnimationController::AddAnimation(Animation* animation) { return animations_.Append(animation); }

int32_t AnimationController::AddFrame(const AnimationFrame& frame) { return frames_.Append(frame); }

Object* AnimationController::FindByName(const String& name) {
    if (Object* found = Controller::FindByName(name)) return found;
    for (Animation* animation : animations_)
        if (Object* found = FindIn(animation, name)) return found;
    return nullptr;
}

void AnimationController::CollectByType(const Rtti& type, ObjectArray& objects) {
    Controller::CollectByType(type, objects);
    for (Animation* animation : animations_) CollectIn(animation, type, objects);
}

void AnimationController::VisitLinks(LinkVisitor& visitor) {
    Controller::VisitLinks(visitor);
    VisitLinkArray(animations_, visitor);
    for (BlendStage& stage : stages_) VisitLink(stage.animation, visitor);
    for (AnimationFrame& frame : frames_) VisitLink(frame.animation, visitor);
}

int32_t AnimationController::Save(Stream& stream) {
    if (Controller::Save(stream) != kOk) return SaveParentFailed();
    if (stream.WriteInt32(animations_.Count()) != 0)
        return FailWithNameId("Невозможно сохранить количество анимаций. Имя[%s] ID[%d]");
    for (Animation* animation : animations_)
        if (stream.WriteLink(animation) != 0) return FailWithNameId("Невозможно сохранить анимацию. Имя[%s] ID[%d]");
    if (stream.WriteInt32(frames_.Count()) != 0)
        return FailWithNameId("Невозможно сохранить количество фреймов анимаций. Имя[%s] ID[%d]");
    for (const AnimationFrame& frame : frames_)
        if (frame.Save(stream) != kOk) return FailWithNameId("Невозможно сохранить фрейм анимаций. Имя[%s] ID[%d]");
    if (stream.WriteDouble(trackPeriod_) != 0)
        return FailWithNameId("Невозможно сохранить период трэка. Имя[%s] ID[%d]");
    return kOk;
}

int32_t AnimationController::Load(Stream& stream) {
    if (Controller::Load(stream) != kOk) return LoadParentFailed();
    Reset();
    int32_t result = LoadAnimations(stream);
    if (result != kOk) return result;
    result = LoadFrames(stream);
    if (result != kOk) return result;
    if (stream.ReadDouble(trackPeriod_) != 0)
        return FailWithIdName("Невозможно загрузить период трэка. ID[%d] Имя[%s]");
    return kOk;
}

int32_t AnimationController::LoadAnimations(Stream& stream) {
    animations_.Clear();
    int32_t count = 0;
    // Every link takes at least four bytes, which bounds the block below.
    if (stream.ReadCount(count, 4) != 0 || animations_.Reserve(count) != kOk)
        return FailWithIdName("Невозможно загрузить количество анимаций. ID[%d] Имя[%s]");
    for (int32_t i = 0; i < count; ++i) {
        Pointer<Animation> animation;
        if (stream.ReadLinkAs(animation) != 0) return FailWithNameId("Невозможно загрузить анимацию. Имя[%s] ID[%d]");
        animations_.Append(animation);
    }
    return kOk;
}

int32_t AnimationController::LoadFrames(Stream& stream) {
    frames_.Clear();
    int32_t count = 0;
    if (stream.ReadCount(count, AnimationFrame::kStreamedBytes) != 0 || frames_.Reserve(count) != kOk)
        return FailWithIdName("Невозможно загрузить количество фреймов анимаций. ID[%d] Имя[%s]");
    for (int32_t i = 0; i < count; ++i) {
        AnimationFrame frame;
        if (frame.Load(stream) != kOk) return FailWithNameId("Невозможно загрузить фрейм анимаций. Имя[%s] ID[%d]");
        frames_.Append(frame);
    }
    return kOk;
}

}  // namespace zel
