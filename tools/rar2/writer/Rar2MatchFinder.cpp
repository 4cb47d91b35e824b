#include "tools/rar2/writer/Rar2MatchFinder.h"

#include <cstring>
#include <new>

#include "engine/core/Status.h"

namespace zel {

Rar2MatchFinder::~Rar2MatchFinder() {
    delete[] head_;
    delete[] prev_;
}

int32_t Rar2MatchFinder::Init() {
    if (head_ == nullptr) head_ = new (std::nothrow) uint32_t[1u << kHashBits];
    if (prev_ == nullptr) prev_ = new (std::nothrow) uint32_t[kWindowSize];
    if (head_ == nullptr || prev_ == nullptr) return kOutOfMemory;
    Reset();
    return kOk;
}

void Rar2MatchFinder::Reset() {
    for (uint32_t i = 0; i < (1u << kHashBits); ++i) head_[i] = kNone;
    for (uint32_t i = 0; i < kWindowSize; ++i) prev_[i] = kNone;
}

uint32_t Rar2MatchFinder::MatchLength(const uint8_t* a, const uint8_t* b, uint32_t maxLength) {
    uint32_t n = 0;
    while (n + 8 <= maxLength) {
        uint64_t x;
        uint64_t y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y) return n + uint32_t(__builtin_ctzll(x ^ y) >> 3);
        n += 8;
    }
    while (n < maxLength && a[n] == b[n]) ++n;
    return n;
}

uint32_t Rar2MatchFinder::Find(const uint8_t* buffer, uint32_t pos, uint32_t maxLength, uint32_t maxChain,
                               uint32_t niceLength, int32_t literalCost8, uint32_t& distance) const {
    uint32_t best = 0;
    int32_t bestScore = 0;
    if (maxLength < 3) return 0;
    const uint8_t* here = buffer + pos;
    uint32_t candidate = head_[Hash(here)];
    while (candidate != kNone && candidate < pos && maxChain-- > 0) {
        uint32_t d = pos - candidate;
        if (d > kMaxDistance) break;
        const uint8_t* there = buffer + candidate;
        // Candidates come nearest first, so only a longer one can be better;
        // it must agree with this position at the current best length.
        if (there[best] == here[best] && there[0] == here[0]) {
            uint32_t length = MatchLength(here, there, maxLength);
            // A distance costs about as many bits as it has.
            int32_t score = int32_t(length) * literalCost8 - 8 * (32 - __builtin_clz(d));
            if (length > best && (best == 0 || score > bestScore)) {
                best = length;
                bestScore = score;
                distance = d;
                if (length >= niceLength) break;
            }
        }
        uint32_t next = prev_[candidate & (kWindowSize - 1)];
        if (next >= candidate) break;  // slot reused by a newer position
        candidate = next;
    }
    return best >= 3 ? best : 0;
}

void Rar2MatchFinder::Shift(uint32_t amount) {
    // amount is a multiple of the window, so ring slots keep their indices.
    auto move = [amount](uint32_t& p) { p = p != kNone && p >= amount ? p - amount : kNone; };
    for (uint32_t i = 0; i < (1u << kHashBits); ++i) move(head_[i]);
    for (uint32_t i = 0; i < kWindowSize; ++i) move(prev_[i]);
}

}  // namespace zel
