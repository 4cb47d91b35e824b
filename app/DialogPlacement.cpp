#include "app/DialogPlacement.h"

#include <algorithm>

namespace zel {

namespace {

int32_t Scaled(int32_t pixelsAt96, uint32_t dpi) {
    return static_cast<int32_t>((static_cast<int64_t>(pixelsAt96) * dpi + 48) / 96);
}

// Where a span of `size` starts when centred on [low, high); at `low` when
// it does not fit.
int32_t Centred(int32_t low, int32_t high, int32_t size) {
    return low + std::max(0, (high - low - size) / 2);
}

}  // namespace

WindowRect DialogPlacement::Place() const {
    const uint32_t effectiveDpi = dpi != 0 ? dpi : 96;
    const int32_t width =
        (window.right - window.left) + std::max(0, Scaled(kMinClientWidth, effectiveDpi) - clientWidth);
    const int32_t height =
        (window.bottom - window.top) + std::max(0, Scaled(kMinClientHeight, effectiveDpi) - clientHeight);
    const int32_t left = Centred(workArea.left, workArea.right, width);
    const int32_t top = Centred(workArea.top, workArea.bottom, height);
    return WindowRect{left, top, left + width, top + height};
}

}  // namespace zel
