// Hash chains over the compressor's buffer: for a position, the earlier
// positions whose next three bytes hash alike, newest first, within a 1 MiB
// window. Positions are indices into the caller's buffer.
#pragma once

#include <cstdint>

namespace zel {

class Rar2MatchFinder {
public:
    static constexpr uint32_t kWindowBits = 20;
    static constexpr uint32_t kWindowSize = 1u << kWindowBits;
    // One less than the format allows: the chain ring holds kWindowSize slots.
    static constexpr uint32_t kMaxDistance = kWindowSize - 1;
    static constexpr uint32_t kNone = 0xFFFFFFFFu;

    Rar2MatchFinder() = default;
    ~Rar2MatchFinder();
    Rar2MatchFinder(const Rar2MatchFinder&) = delete;
    Rar2MatchFinder& operator=(const Rar2MatchFinder&) = delete;

    // kOk, or kOutOfMemory.
    int32_t Init();
    void Reset();

    // Records position `pos`; buffer[pos..pos+2] must exist.
    void Insert(const uint8_t* buffer, uint32_t pos) {
        uint32_t h = Hash(buffer + pos);
        prev_[pos & (kWindowSize - 1)] = head_[h];
        head_[h] = pos;
    }

    // Best match for `pos` among up to `maxChain` candidates, no longer than
    // `maxLength`; stops early at `niceLength`. A farther match must be
    // longer by enough to pay for its longer distance, literals costing
    // `literalCost8` eighths of a bit each. Returns its length (0 when none
    // of at least 3 bytes) and sets `distance`.
    uint32_t Find(const uint8_t* buffer, uint32_t pos, uint32_t maxLength, uint32_t maxChain,
                  uint32_t niceLength, int32_t literalCost8, uint32_t& distance) const;

    // The buffer dropped its first `amount` bytes, a multiple of
    // kWindowSize: positions move down.
    void Shift(uint32_t amount);

    static uint32_t MatchLength(const uint8_t* a, const uint8_t* b, uint32_t maxLength);

private:
    static constexpr uint32_t kHashBits = 17;
    static uint32_t Hash(const uint8_t* p) {
        uint32_t v = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        return (v * 0x9E3779B1u) >> (32 - kHashBits);
    }

    uint32_t* head_ = nullptr;  // owned; newest position per hash, or kNone
    uint32_t* prev_ = nullptr;  // owned; ring: the position before, same hash
};

}  // namespace zel
