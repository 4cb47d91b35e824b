#include "engine/animation/AnimationFrame.h"

#include <cmath>

#include "engine/core/Log.h"
#include "engine/core/Stream.h"

namespace zel {

namespace {
bool IsOnce(int32_t mode) { return mode != AnimationFrame::kModeLoop && mode != AnimationFrame::kModePingPong; }
}  // namespace

bool AnimationFrame::LocalPhase(double phase, double& u) const {
    const double length = end - start;
    if (length == 0.0) return false;
    double local = ((phase - start) * speed + offset) / length;
    if (!std::isfinite(local)) return false;
    if (mode == kModeLoop) {
        local -= std::floor(local);
    } else if (mode == kModePingPong) {
        // Even passes run forwards, odd ones back. The parity is taken on
        // the floored double, so no integer conversion can overflow.
        const double pass = std::floor(local);
        local = std::fmod(pass, 2.0) == 0.0 ? local - pass : 1.0 - (local - pass);
    }
    u = local;
    return true;
}

double AnimationFrame::BoundForFirstStage(double u) const {
    if (IsOnce(mode)) return u < 0.0 || u >= 1.0 ? 0.0 : u;
    return u >= 1.0 ? 0.0 : u;
}

double AnimationFrame::BoundForSecondStage(double u) const {
    if (!IsOnce(mode)) return u;
    if (u < 0.0) return 0.0;
    return u > 1.0 ? 1.0 : u;
}

int32_t AnimationFrame::Save(Stream& stream) const {
    if (stream.WriteLink(animation) != 0) {
        LogError("Невозможно сохранить анимацию фрейма анимации.");
        return kFailed;
    }
    stream.WriteInt32(mode);
    stream.WriteDouble(start);
    stream.WriteDouble(end);
    stream.WriteDouble(speed);
    stream.WriteDouble(offset);
    if (stream.GetErrorState() != 0) {
        LogError("Невозможно сохранить данные стадии блендинга анимации.");
        return kFailed;
    }
    return kOk;
}

int32_t AnimationFrame::Load(Stream& stream) {
    if (stream.ReadLinkAs(animation) != 0) {
        LogError("Невозможно загрузить анимацию фрейма анимации.");
        return kFailed;
    }
    stream.ReadInt32(mode);
    stream.ReadDouble(start);
    stream.ReadDouble(end);
    stream.ReadDouble(speed);
    stream.ReadDouble(offset);
    if (stream.GetErrorState() != 0) {
        LogError("Невозможно загрузить данные стадии блендинга анимации.");
        return kFailed;
    }
    return kOk;
}

}  // namespace zel
