// When input ends the show: any key or mouse button press, the render
// window closing, and, when the setting asks for it, the eleventh mouse move.
#pragma once

#include <cstdint>

#include "engine/platform/InputEvent.h"

namespace zel {

class ExitRules {
public:
    static constexpr int32_t kMouseMoveAllowance = 10;

    // True when the event ends the show. Mouse moves count down the
    // allowance (never reset) only while exitOnMouseMove is on.
    bool Ends(const InputEvent& event, bool exitOnMouseMove);

private:
    int32_t moveAllowance_ = kMouseMoveAllowance;
};

}  // namespace zel
