#include "engine/animation/ScreensaverSet.h"

#include "engine/animation/TargetCameraController.h"
#include "engine/core/Log.h"
#include "engine/core/Stream.h"

namespace zel {

namespace {

// Controllers examined per object, from the head of its list. Reaching the
// i-th controller walks i list nodes, so a file giving a camera thousands
// of controllers (once per set) would otherwise cost quadratic time; real
// cameras carry a handful.
constexpr int32_t kMaxExaminedControllers = 32;

AnimationController* FirstAnimationController(const Object& object) {
    for (int32_t i = 0; i < kMaxExaminedControllers; ++i) {
        Controller* controller = object.GetController(i);
        if (controller == nullptr) break;
        if (AnimationController* found = CastTo<AnimationController>(controller)) return found;
    }
    return nullptr;
}

}  // namespace

void ScreensaverSet::DeriveControllers() {
    cameraAnimation = nullptr;
    targetAnimation = nullptr;
    if (camera == nullptr) return;
    for (int32_t i = 0; i < kMaxExaminedControllers; ++i) {
        Controller* controller = camera->GetController(i);
        if (controller == nullptr) break;
        if (AnimationController* animation = CastTo<AnimationController>(controller)) cameraAnimation = animation;
        TargetCameraController* targeting = CastTo<TargetCameraController>(controller);
        if (targeting != nullptr && targeting->GetTarget() != nullptr)
            targetAnimation = FirstAnimationController(*targeting->GetTarget());
    }
}

int32_t ScreensaverSet::Save(Stream& stream) const {
    if (stream.WriteLink(camera) != 0) {
        LogError("Невозможно сохранить камеру сета контроллера скринсейвера.");
        return kFailed;
    }
    stream.WriteDouble(fadeInTime);
    stream.WriteDouble(duration);
    if (stream.GetErrorState() != 0) {
        LogError("Невозможно сохранить данные сета контроллера скринсейвера.");
        return kFailed;
    }
    return kOk;
}

int32_t ScreensaverSet::Load(Stream& stream) {
    if (stream.ReadLinkAs(camera) != 0) {
        LogError("Невозможно загрузить камеру сета контроллера скринсейвера.");
        return kFailed;
    }
    DeriveControllers();
    stream.ReadDouble(fadeInTime);
    stream.ReadDouble(duration);
    if (stream.GetErrorState() != 0) {
        LogError("Невозможно загрузить данные сета контроллера скринсейвера.");
        return kFailed;
    }
    return kOk;
}

}  // namespace zel
