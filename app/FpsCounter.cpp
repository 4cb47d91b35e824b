#include "app/FpsCounter.h"

namespace zel {

void FpsCounter::AddFrame(double seconds) {
    ++frames_;
    accumulated_ += seconds;
    if (accumulated_ > 1.0) {
        fps_ = frames_ / accumulated_;
        frames_ = 0;
        accumulated_ -= 1.0;
    }
}

}  // namespace zel
