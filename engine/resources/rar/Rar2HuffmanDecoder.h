// Canonical prefix code decoder for the tables of the RAR 2.0 stream: codes
// are assigned in order of length, then symbol, shorter codes numerically
// smaller. Codes of up to kQuickBits bits resolve with one table look-up.
#pragma once

#include <cstdint>

#include "engine/resources/rar/Rar2BitReader.h"
#include "engine/resources/rar/Rar2Format.h"

namespace zel {

class Rar2HuffmanDecoder {
public:
    static constexpr uint32_t kMaxSymbols = 298;
    static constexpr uint32_t kQuickBits = 10;

    // lengths[count]: 0 = unused, 1..15. Fails (kFailed) for an over-subscribed
    // set of lengths or count > kMaxSymbols. Incomplete codes are accepted; a
    // code that maps to no symbol fails when decoded.
    int32_t Build(const uint8_t* lengths, uint32_t count);

    // The next symbol, or -1 for a code that belongs to no symbol.
    int32_t Decode(Rar2BitReader& in) const {
        uint32_t bits = in.Peek16();
        uint32_t entry = quick_[bits >> (16 - kQuickBits)];
        if (entry != 0) {
            in.Skip(entry & 0xF);
            return int32_t(entry >> 4);
        }
        return DecodeLong(in, bits);
    }

private:
    int32_t DecodeLong(Rar2BitReader& in, uint32_t bits) const;

    // (symbol << 4) | length; 0 sends the look-up to DecodeLong.
    uint16_t quick_[1u << kQuickBits] = {};
    // limit_[n]: end of the codes of length n, left-aligned to 16 bits.
    uint32_t limit_[Rar2Format::kMaxCodeLength + 1] = {};
    // first_[n]: index in symbols_ of the first code of length n.
    uint32_t first_[Rar2Format::kMaxCodeLength + 1] = {};
    uint16_t symbols_[kMaxSymbols] = {};
};

}  // namespace zel
