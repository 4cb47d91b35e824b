#include "app/Timer.h"

#include <chrono>

namespace zel {

double SystemTickMilliseconds() {
    using namespace std::chrono;
    // Whole milliseconds, like the system's tick count.
    return static_cast<double>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

Timer::Timer(TickSource ticks) : ticks_(ticks != nullptr ? ticks : &SystemTickMilliseconds) {}

void Timer::Start() { last_ = Now(); }

double Timer::Delta() {
    const double now = Now();
    const double seconds = (now - last_) * 0.001;
    last_ = now;
    return seconds;
}

}  // namespace zel
