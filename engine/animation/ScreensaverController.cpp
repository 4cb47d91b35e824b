#include "engine/animation/ScreensaverController.h"

#include <climits>
#include <cstdlib>
#include <new>

#include "engine/core/Stream.h"
#include "engine/render/Renderer.h"

namespace zel {

ZEL_DEFINE_RTTI(ScreensaverController, Controller)

namespace {

// A uniform index below n from the C generator. Two draws are combined when
// n exceeds the generator's range (32768 values on Windows), so every set
// stays reachable and the history can never cover all reachable sets.
int32_t RandomIndex(int32_t n) {
    if (n - 1 <= RAND_MAX) return std::rand() % n;
    const int64_t wide = static_cast<int64_t>(std::rand()) * (static_cast<int64_t>(RAND_MAX) + 1) + std::rand();
    return static_cast<int32_t>(wide % n);
}

// The set's animation moves back by `seconds` of its track.
void SetBack(AnimationController* animation, double seconds) {
    if (animation == nullptr || animation->GetTrackPeriod() == 0.0) return;
    animation->SetPhase(animation->GetPhase() - seconds / animation->GetTrackPeriod());
}

}  // namespace

ScreensaverController::~ScreensaverController() { delete[] history_; }

void ScreensaverController::Update(double dt) {
    if (!IsActive() || current_ == -1) return;
    elapsed_ += dt;
    if (elapsed_ < sets_[current_].duration) return;
    elapsed_ -= sets_[current_].duration;
    ChooseNextSet();
    const ScreensaverSet& set = sets_[current_];
    SetBack(set.cameraAnimation, dt - elapsed_);
    SetBack(set.targetAnimation, dt - elapsed_);
}

void ScreensaverController::Reset() {
    ChooseNextSet();
    elapsed_ = 0.0;
}

void ScreensaverController::ChooseNextSet() {
    const int32_t n = sets_.Count();
    if (n == 0) return;
    const bool avoidRecent = PrepareHistory(n);
    current_ = -1;
    while (current_ == -1) {
        const int32_t candidate = RandomIndex(n);
        if (!avoidRecent || historySize_ == 1 || !InHistory(candidate)) {
            if (avoidRecent) Remember(candidate);
            current_ = candidate;
        }
    }
    StartSet(sets_[current_]);
}

bool ScreensaverController::PrepareHistory(int32_t setCount) {
    const int32_t wanted = setCount / 2;
    if (historySize_ != wanted) {
        delete[] history_;
        history_ = nullptr;
        historySize_ = wanted == 0 ? 1 : wanted;
    }
    if (history_ == nullptr) {
        history_ = new (std::nothrow) int32_t[historySize_];
        if (history_ == nullptr) return false;
        for (int32_t i = 0; i < historySize_; ++i) history_[i] = RandomIndex(setCount);
    }
    return true;
}

bool ScreensaverController::InHistory(int32_t index) const {
    for (int32_t i = 0; i < historySize_; ++i)
        if (history_[i] == index) return true;
    return false;
}

void ScreensaverController::Remember(int32_t index) {
    for (int32_t i = 0; i + 1 < historySize_; ++i) history_[i] = history_[i + 1];
    history_[historySize_ - 1] = index;
}

void ScreensaverController::StartSet(ScreensaverSet& set) {
    if (set.cameraAnimation != nullptr) {
        set.cameraAnimation->Reset();
        set.duration = set.cameraAnimation->GetTrackPeriod();
    }
    if (set.targetAnimation != nullptr) {
        set.targetAnimation->Reset();
        if (set.targetAnimation->GetTrackPeriod() < set.duration) set.duration = set.targetAnimation->GetTrackPeriod();
    }
    if (Renderer* renderer = GetCurrentRenderer()) renderer->SetCamera(set.camera);
}

int32_t ScreensaverController::AddSet(Camera* camera, double fadeInTime, double duration) {
    ScreensaverSet set;
    set.camera = camera;
    set.fadeInTime = fadeInTime;
    set.duration = duration;
    set.DeriveControllers();
    return sets_.Append(set);
}

int32_t ScreensaverController::Save(Stream& stream) {
    if (Controller::Save(stream) != kOk) return SaveParentFailed();
    if (stream.WriteInt32(sets_.Count()) != 0)
        return FailWithNameId("Невозможно сохранить количество сетов. Имя[%s] ID[%d]");
    for (const ScreensaverSet& set : sets_)
        if (set.Save(stream) != kOk) return FailWithNameId("Невозможно сохранить сет. Имя[%s] ID[%d]");
    return kOk;
}

int32_t ScreensaverController::Load(Stream& stream) {
    if (Controller::Load(stream) != kOk) return LoadParentFailed();
    const int32_t result = LoadSets(stream);
    if (result != kOk) return result;
    ChooseNextSet();
    return kOk;
}

void ScreensaverController::VisitLinks(LinkVisitor& visitor) {
    Controller::VisitLinks(visitor);
    for (ScreensaverSet& set : sets_) {
        VisitLink(set.camera, visitor);
        VisitLink(set.cameraAnimation, visitor);
        VisitLink(set.targetAnimation, visitor);
    }
}

int32_t ScreensaverController::LoadSets(Stream& stream) {
    sets_.Clear();
    current_ = -1;
    elapsed_ = 0.0;
    int32_t count = 0;
    // The count is bounded by the stream's size, so one block can be made.
    if (stream.ReadCount(count, ScreensaverSet::kStreamedBytes) != 0 || sets_.Reserve(count) != kOk)
        return FailWithIdName("Невозможно загрузить количество сетов. ID[%d] Имя[%s]");
    for (int32_t i = 0; i < count; ++i) {
        ScreensaverSet set;
        if (set.Load(stream) != kOk) return FailWithNameId("Невозможно загрузить сет. Имя[%s] ID[%d]");
        sets_.Append(set);
    }
    return kOk;
}

}  // namespace zel
