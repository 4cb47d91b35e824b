// When input ends the show: any key or mouse button press (wheel turns
// included), the render window closing, losing the foreground once the show
// is on screen, and, when the setting asks for it, the eleventh real mouse
// move.
#pragma once

#include <cstdint>

#include "engine/platform/InputEvent.h"

namespace zel {

class ExitRules {
public:
    static constexpr int32_t kMouseMoveAllowance = 10;

    // True when the event ends the show. A mouse move counts only when its
    // position differs from the last one seen (the first only records it:
    // the system reports moves without movement when windows appear), and
    // counts down the allowance (never reset) only while exitOnMouseMove is
    // on. Losing the foreground ends the show only after OnFramePresented.
    bool Ends(const InputEvent& event, bool exitOnMouseMove);

    // The show's first frame is on screen: start-up, which creates and
    // activates windows, is over.
    void OnFramePresented() { presented_ = true; }

private:
    bool Moved(const InputEvent& event);

    int32_t moveAllowance_ = kMouseMoveAllowance;
    bool hasPosition_ = false;
    int32_t lastX_ = 0;
    int32_t lastY_ = 0;
    bool presented_ = false;
};

}  // namespace zel
