#include "app/ExitRules.h"

namespace zel {

bool ExitRules::Ends(const InputEvent& event, bool exitOnMouseMove) {
    switch (event.device) {
        case kInputDeviceKeyboard:
            return event.action == kInputActionPressed;
        case kInputDeviceMouse:
            if (event.action == kInputActionPressed) return true;
            if (event.action != kInputActionMoved || !exitOnMouseMove) return false;
            return --moveAllowance_ < 0;
        case kInputDeviceWindow:
            return event.action == kInputActionClosed && event.code == 0;
        default:
            return false;
    }
}

}  // namespace zel
