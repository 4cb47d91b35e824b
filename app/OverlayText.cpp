#include "app/OverlayText.h"

#include <cmath>
#include <cstdio>

namespace zel {

namespace {

constexpr float kGlyphWidth = 0.0375f;

void TwoDigits(char* out, size_t size, int32_t value) {
    std::snprintf(out, size, value > 9 ? "%d" : "0%d", static_cast<int>(value));
}

}  // namespace

String FormatClock(int32_t hour, int32_t minute, int32_t second, bool hour24) {
    char suffix[5] = "";
    if (!hour24) {
        std::snprintf(suffix, sizeof suffix, " %cm ", hour > 11 ? 'p' : 'a');
        if (hour > 12) hour -= 12;
    }
    char hours[16], minutes[16], seconds[16], text[64];
    std::snprintf(hours, sizeof hours, "%d", static_cast<int>(hour));
    TwoDigits(minutes, sizeof minutes, minute);
    TwoDigits(seconds, sizeof seconds, second);
    std::snprintf(text, sizeof text, "%s:%s:%s%s", hours, minutes, seconds, suffix);
    return String(text);
}

float ClockTextX(int32_t length, bool hour24) {
    const float margin = hour24 ? -0.01875f : 0.01875f;
    return 1.0f - static_cast<float>(length) * kGlyphWidth + margin;
}

String FormatFps(double fps) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(std::ceil(fps)));
    return String(text);
}

}  // namespace zel
