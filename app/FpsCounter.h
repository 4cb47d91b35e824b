// Frames per second, measured over spans of just over one second; the time
// past the second is carried into the next span.
#pragma once

#include <cstdint>

namespace zel {

class FpsCounter {
public:
    // Counts one frame that took `seconds`.
    void AddFrame(double seconds);
    double GetFps() const { return fps_; }

private:
    uint32_t frames_ = 0;
    double accumulated_ = 0.0;
    double fps_ = 0.0;
};

}  // namespace zel
