// Brings a float mix into [-1, 1] without wrapping: a peak limiter that
// lowers the gain at once when a frame would clip and lets it recover
// slowly, with a hard clamp as the last guard.
#pragma once

#include <cstdint>

namespace zel::audio {

class Limiter {
public:
    // `rate` sets the recovery time.
    explicit Limiter(int32_t rate);

    // Limits `frames` stereo frames in place.
    void Process(float* mix, int32_t frames);

    float GetGain() const { return gain_; }

private:
    float gain_ = 1.0f;
    float release_;  // share of the distance to unity regained per frame
};

// Converts limited floats to 16-bit samples.
void ToInt16(const float* mix, int16_t* out, int32_t samples);

}  // namespace zel::audio
