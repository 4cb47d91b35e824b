#include "audio/Limiter.h"

#include <algorithm>
#include <cmath>

namespace zel::audio {

namespace {

constexpr float kRecoverySeconds = 0.25f;

}  // namespace

Limiter::Limiter(int32_t rate) : release_(1.0f / (kRecoverySeconds * static_cast<float>(std::max(rate, 1)))) {}

void Limiter::Process(float* mix, int32_t frames) {
    for (int32_t i = 0; i < frames; ++i) {
        float& left = mix[2 * i];
        float& right = mix[2 * i + 1];
        // Not-a-number never reaches the output.
        if (!std::isfinite(left)) left = 0.0f;
        if (!std::isfinite(right)) right = 0.0f;
        const float peak = std::max(std::fabs(left), std::fabs(right));
        if (peak * gain_ > 1.0f) gain_ = 1.0f / peak;
        left = std::clamp(left * gain_, -1.0f, 1.0f);
        right = std::clamp(right * gain_, -1.0f, 1.0f);
        gain_ = std::min(1.0f, gain_ + (1.0f - gain_) * release_);
    }
}

void ToInt16(const float* mix, int16_t* out, int32_t samples) {
    for (int32_t i = 0; i < samples; ++i)
        out[i] = static_cast<int16_t>(std::lrint(std::clamp(mix[i], -1.0f, 1.0f) * 32767.0f));
}

}  // namespace zel::audio
