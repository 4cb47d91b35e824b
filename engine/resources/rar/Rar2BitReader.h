// Most-significant-bit-first reader over a compressed stream. Reads past the
// end yield zero bits; Overrun() tells whether any of them were consumed, which
// the decoder treats as damaged data. Inline: it sits in the decoding loop.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zel {

class Rar2BitReader {
public:
    void Reset(const uint8_t* data, size_t size) {
        data_ = data;
        size_ = size;
        next_ = 0;
        bits_ = 0;
        count_ = 0;
    }

    // The next 16 bits, left-aligned in the result's low 16 bits.
    uint32_t Peek16() {
        if (count_ < 16) Refill();
        return uint32_t(bits_ >> 48);
    }

    void Skip(uint32_t count) {
        bits_ <<= count;
        count_ -= count;
    }

    // count: 0..16.
    uint32_t Read(uint32_t count) {
        if (count == 0) return 0;
        uint32_t value = Peek16() >> (16 - count);
        Skip(count);
        return value;
    }

    uint64_t ConsumedBits() const { return uint64_t(next_) * 8 - count_; }
    bool Overrun() const { return ConsumedBits() > uint64_t(size_) * 8; }
    // Whole bytes from the one holding the next bit to the end of the data.
    size_t RemainingBytes() const {
        uint64_t at = ConsumedBits() / 8;
        return at >= size_ ? 0 : size_ - size_t(at);
    }

private:
    void Refill() {
        if (next_ + 8 <= size_) {
            // Load eight bytes and keep the whole ones that fit. The bits below
            // the kept ones are the stream's next bits too, so OR-ing them in
            // again on the next refill leaves them unchanged.
            uint64_t v = 0;
            for (int i = 0; i < 8; ++i) v = (v << 8) | data_[next_ + i];
            bits_ |= v >> count_;
            uint32_t bytes = (63 - count_) >> 3;
            next_ += bytes;
            count_ += bytes * 8;
            return;
        }
        while (count_ <= 56) {
            uint64_t byte = next_ < size_ ? data_[next_] : 0;
            bits_ |= byte << (56 - count_);
            ++next_;
            count_ += 8;
        }
    }

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t next_ = 0;    // next byte to load (may pass size_ while zeros are fed)
    uint64_t bits_ = 0;  // left-aligned; only the top count_ bits are counted
    uint32_t count_ = 0;
};

}  // namespace zel
