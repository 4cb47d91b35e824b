#include "app/ExitRules.h"

namespace zel {

bool ExitRules::Moved(const InputEvent& event) {
    const bool moved = hasPosition_ && (event.code != lastX_ || event.y != lastY_);
    hasPosition_ = true;
    lastX_ = event.code;
    lastY_ = event.y;
    return moved;
}

bool ExitRules::Ends(const InputEvent& event, bool exitOnMouseMove) {
    switch (event.device) {
        case kInputDeviceKeyboard:
            return event.action == kInputActionPressed;
        case kInputDeviceMouse:
            if (event.action == kInputActionPressed) return true;
            if (event.action != kInputActionMoved || !Moved(event) || !exitOnMouseMove) return false;
            return --moveAllowance_ < 0;
        case kInputDeviceWindow:
            if (event.action != kInputActionClosed) return false;
            return event.code == kWindowClosed || (event.code == kWindowLostForeground && presented_);
        default:
            return false;
    }
}

}  // namespace zel
