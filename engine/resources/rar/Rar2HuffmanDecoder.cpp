#include "engine/resources/rar/Rar2HuffmanDecoder.h"

#include "engine/core/Status.h"

namespace zel {

int32_t Rar2HuffmanDecoder::Build(const uint8_t* lengths, uint32_t count) {
    if (count > kMaxSymbols) return kFailed;
    constexpr uint32_t kMax = Rar2Format::kMaxCodeLength;
    uint32_t perLength[kMax + 1] = {};
    for (uint32_t i = 0; i < count; ++i) {
        if (lengths[i] > kMax) return kFailed;
        ++perLength[lengths[i]];
    }
    perLength[0] = 0;

    uint32_t code = 0;  // first code of the current length
    uint32_t index = 0;
    for (uint32_t n = 1; n <= kMax; ++n) {
        code += perLength[n];
        if (code > (1u << n)) return kFailed;  // more codes than values of n bits
        first_[n] = index;
        index += perLength[n];
        limit_[n] = code << (16 - n);
        code <<= 1;
    }
    limit_[0] = 0;

    uint32_t next[kMax + 1];
    for (uint32_t n = 1; n <= kMax; ++n) next[n] = first_[n];
    for (uint32_t i = 0; i < count; ++i)
        if (lengths[i] != 0) symbols_[next[lengths[i]]++] = uint16_t(i);

    for (auto& entry : quick_) entry = 0;
    for (uint32_t n = 1; n <= kQuickBits; ++n) {
        uint32_t start = limit_[n - 1] >> (16 - kQuickBits);
        for (uint32_t k = 0; k < perLength[n]; ++k) {
            uint32_t symbol = symbols_[first_[n] + k];
            uint32_t span = 1u << (kQuickBits - n);
            for (uint32_t j = 0; j < span; ++j) quick_[start + k * span + j] = uint16_t(symbol << 4 | n);
        }
    }
    return kOk;
}

int32_t Rar2HuffmanDecoder::DecodeLong(Rar2BitReader& in, uint32_t bits) const {
    for (uint32_t n = kQuickBits + 1; n <= Rar2Format::kMaxCodeLength; ++n) {
        if (bits < limit_[n]) {
            in.Skip(n);
            return symbols_[first_[n] + ((bits - limit_[n - 1]) >> (16 - n))];
        }
    }
    return -1;
}

}  // namespace zel
