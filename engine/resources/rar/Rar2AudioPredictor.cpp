#include "engine/resources/rar/Rar2AudioPredictor.h"

#include <cstdlib>

namespace zel {

uint8_t Rar2AudioPredictor::Predict(int32_t channelDelta) {
    d_[3] = d_[2];
    d_[2] = d_[1];
    d_[1] = lastDelta_ - d_[0];
    d_[0] = lastDelta_;
    int32_t p = 8 * lastValue_ + k_[0] * d_[0] + k_[1] * d_[1] + k_[2] * d_[2] + k_[3] * d_[3] +
                k_[4] * channelDelta;
    return uint8_t(p >> 3);
}

void Rar2AudioPredictor::Update(uint8_t delta, uint8_t value, int32_t& channelDelta) {
    ++byteCount_;
    int32_t e = int32_t(int8_t(delta)) * 8;
    // Errors a prediction would have had with each weight one step lower
    // (odd entries) or higher (even entries).
    errors_[0] += uint32_t(std::abs(e));
    for (int i = 0; i < 4; ++i) {
        errors_[1 + 2 * i] += uint32_t(std::abs(e - d_[i]));
        errors_[2 + 2 * i] += uint32_t(std::abs(e + d_[i]));
    }
    errors_[9] += uint32_t(std::abs(e - channelDelta));
    errors_[10] += uint32_t(std::abs(e + channelDelta));

    channelDelta = lastDelta_ = int8_t(uint8_t(value - lastValue_));
    lastValue_ = value;
    if ((byteCount_ & 0x1F) == 0) Adapt();
}

void Rar2AudioPredictor::Adapt() {
    uint32_t best = errors_[0];
    uint32_t bestIndex = 0;
    errors_[0] = 0;
    for (uint32_t i = 1; i < 11; ++i) {
        if (errors_[i] < best) {
            best = errors_[i];
            bestIndex = i;
        }
        errors_[i] = 0;
    }
    if (bestIndex == 0) return;
    int32_t& k = k_[(bestIndex - 1) / 2];
    if (bestIndex & 1) {
        if (k >= -16) --k;
    } else {
        if (k < 16) ++k;
    }
}

}  // namespace zel
