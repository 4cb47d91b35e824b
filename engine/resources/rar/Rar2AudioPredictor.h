// The per-channel predictor of the multimedia (audio) mode. Each byte is sent
// as the difference between a linear prediction from the channel's recent
// values and the real value; every 32 bytes the channel tunes its five
// weights towards the one that would have given the smallest differences.
// Decoder and compressor run the same predictor, so both stay in step.
#pragma once

#include <cstdint>

namespace zel {

class Rar2AudioPredictor {
public:
    // Predicts the channel's next byte. `channelDelta` is the last change seen
    // on any channel (shared by all channels of a stream). Call once per byte,
    // then Update with the byte's difference and its real value.
    uint8_t Predict(int32_t channelDelta);
    // delta = prediction - value (mod 256). Sets channelDelta to this
    // channel's new change.
    void Update(uint8_t delta, uint8_t value, int32_t& channelDelta);

private:
    void Adapt();

    int32_t k_[5] = {};      // weights of d_[0..3] and of the shared change
    int32_t d_[4] = {};      // recent changes and their differences
    int32_t lastDelta_ = 0;
    uint32_t errors_[11] = {};  // summed error of each weight nudge tried
    uint32_t byteCount_ = 0;
    int32_t lastValue_ = 0;
};

}  // namespace zel
