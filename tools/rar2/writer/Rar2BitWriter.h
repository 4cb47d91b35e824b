// Most-significant-bit-first writer appending to a byte buffer; the
// compressor's counterpart of Rar2BitReader.
#pragma once

#include <cstdint>

#include "engine/resources/rar/Rar2ByteBuffer.h"

namespace zel {

class Rar2BitWriter {
public:
    explicit Rar2BitWriter(Rar2ByteBuffer& out) : out_(out) {}

    // count: 0..32; value's low `count` bits are written, highest first.
    void Write(uint32_t value, uint32_t count) {
        if (count == 0) return;
        bits_ = (bits_ << count) | (uint64_t(value) & ((uint64_t(1) << count) - 1));
        count_ += count;
        while (count_ >= 8) {
            count_ -= 8;
            out_.AppendByte(uint8_t(bits_ >> count_));
        }
    }

    // Pads the last byte with zero bits.
    void Flush() {
        if (count_ > 0) Write(0, 8 - count_);
        bits_ = 0;
    }

    uint64_t BitCount() const { return uint64_t(out_.Size()) * 8 + count_; }

private:
    Rar2ByteBuffer& out_;
    uint64_t bits_ = 0;  // the low count_ bits are pending
    uint32_t count_ = 0;
};

}  // namespace zel
