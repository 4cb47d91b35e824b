// Prefix codes for the compressor: optimal code lengths under a length limit
// (package-merge) and the canonical codes the decoder expects for them.
#pragma once

#include <cstdint>

#include "engine/resources/rar/Rar2Format.h"
#include "tools/rar2/writer/Rar2BitWriter.h"

namespace zel {

class Rar2HuffmanEncoder {
public:
    static constexpr uint32_t kMaxSymbols = 298;

    // Lengths (0 for a symbol of frequency 0) for frequencies[count], none
    // longer than maxLength (<= 15). A single used symbol gets length 1.
    // kOk, or kInvalidArgument for count > kMaxSymbols.
    int32_t Build(const uint32_t* frequencies, uint32_t count, uint32_t maxLength = Rar2Format::kMaxCodeLength);

    // Takes lengths as they are (from Build or elsewhere) and assigns codes.
    void SetLengths(const uint8_t* lengths, uint32_t count);

    void Write(Rar2BitWriter& out, uint32_t symbol) const { out.Write(codes_[symbol], lengths_[symbol]); }

    const uint8_t* Lengths() const { return lengths_; }
    uint32_t Length(uint32_t symbol) const { return lengths_[symbol]; }
    uint32_t Count() const { return count_; }

private:
    void AssignCodes();

    uint8_t lengths_[kMaxSymbols] = {};
    uint16_t codes_[kMaxSymbols] = {};
    uint32_t count_ = 0;
};

}  // namespace zel
