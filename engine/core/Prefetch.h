// Cache prefetch hints for walks over objects scattered in memory: a walk
// asks for the next objects' bytes while it works on the current one, so
// that their cache misses overlap instead of following one another. Hints
// only: nothing is read, and results never depend on them.
#pragma once

#include <cstddef>

namespace zel {

inline void Prefetch(const void* address) {
    if (address != nullptr) __builtin_prefetch(address);
}

// Every cache line that holds a byte of [address, address + bytes).
inline void PrefetchBytes(const void* address, size_t bytes) {
    if (address == nullptr || bytes == 0) return;
    constexpr size_t kLine = 64;
    const char* first = static_cast<const char*>(address);
    const char* last = first + bytes - 1;
    for (const char* p = first; p <= last; p += kLine) __builtin_prefetch(p);
    // The stride can step over the last line when the start is not aligned.
    __builtin_prefetch(last);
}

}  // namespace zel
