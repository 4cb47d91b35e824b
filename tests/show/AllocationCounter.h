// Counts the heap allocations the calling thread makes while counting is
// on. The program that links AllocationCounter.cpp replaces the global
// operator new (every form) to feed it.
#pragma once

#include <cstdint>

namespace zel::test {

class AllocationCounter {
public:
    // Counting on this thread from now, starting at 0.
    static void Start();
    // Counting off; the number of allocations since Start.
    static int64_t Stop();
};

}  // namespace zel::test
