#include "engine/animation/BlendStage.h"

namespace zel {

namespace {

// The last key whose time is at or before t; a t before the first key gives
// the last key, whose pair then wraps round to the first.
int32_t FindKey(const Animation& animation, double t) {
    int32_t lo = 0;
    int32_t hi = animation.GetKeyCount() - 1;
    if (animation.GetKey(lo)->time > t) return hi;
    for (;;) {
        const int32_t mid = lo + (hi - lo) / 2;
        if (mid == lo) break;
        if (t > animation.GetKey(mid)->time)
            lo = mid;
        else
            hi = mid;
    }
    return animation.GetKey(hi)->time <= t ? hi : lo;
}

}  // namespace

void BlendStage::Advance(double t) {
    if (animation == nullptr) return;
    const int32_t count = animation->GetKeyCount();
    if (count == 0) return;
    key = FindKey(*animation, t);
    nextKey = (key + 1) % count;
    const double keyTime = animation->GetKey(key)->time;
    double span = animation->GetKey(nextKey)->time - keyTime;
    if (span < 0.0) span += 1.0;
    if (span == 0.0) {
        fraction = 0.0;
        return;
    }
    double d = t - keyTime;
    if (d < 0.0) d += 1.0;
    fraction = d / span;
}

bool BlendStage::HasKeyPair() const {
    if (animation == nullptr) return false;
    const int32_t count = animation->GetKeyCount();
    return key >= 0 && key < count && nextKey >= 0 && nextKey < count;
}

}  // namespace zel
