#include "app/Fade.h"

#include "engine/animation/ScreensaverController.h"

namespace zel {

float FadeOpacity(double elapsed, double fadeInTime, double duration) {
    const double toEnd = duration - elapsed;
    const double sinceFadeIn = elapsed - fadeInTime;
    double opacity = 0.0;
    if (toEnd <= 1.0)
        opacity = 1.0 - toEnd;
    else if (sinceFadeIn <= 1.0)
        opacity = 1.0 - sinceFadeIn;
    // Before the fade-in time the value exceeds 1: fully opaque.
    return static_cast<float>(opacity < 0.0 ? 0.0 : opacity > 1.0 ? 1.0 : opacity);
}

float FadeOpacity(const ScreensaverController* controller) {
    if (controller == nullptr || controller->GetCurrent() < 0) return 0.0f;
    const ScreensaverSet& set = controller->GetSet(controller->GetCurrent());
    return FadeOpacity(controller->GetElapsed(), set.fadeInTime, set.duration);
}

}  // namespace zel
