// Wall time of the frame loop, from a millisecond tick count.
#pragma once

#include <cstdint>

namespace zel {

class Timer {
public:
    // The millisecond clock; the system's tick count by default.
    using TickSource = double (*)();

    explicit Timer(TickSource ticks = nullptr);

    // The next Delta counts from now.
    void Start();
    // Seconds since the last read (or start), then reads now.
    double Delta();

private:
    double Now() const { return ticks_(); }

    TickSource ticks_;
    double last_ = 0.0;
};

// The system's millisecond tick count.
double SystemTickMilliseconds();

}  // namespace zel
