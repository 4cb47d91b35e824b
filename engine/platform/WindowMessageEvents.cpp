#include "engine/platform/WindowMessageEvents.h"

#include "engine/platform/KeyCodes.h"

namespace zel {

namespace {

// Messages whose event depends on nothing but the message.
struct FixedEvent {
    uint32_t message;
    InputEvent event;
};

constexpr FixedEvent kFixedEvents[] = {
    {kMessageDestroy, {kInputDeviceWindow, kInputActionClosed, kWindowClosed, 0}},
    {kMessageClose, {kInputDeviceWindow, kInputActionClosed, kWindowClosed, 0}},
    {kMessageQuit, {kInputDeviceWindow, kInputActionClosed, kWindowClosed, 0}},
    {kMessageLeftButtonDown, {kInputDeviceMouse, kInputActionPressed, kMouseButtonLeft, 0}},
    {kMessageLeftButtonUp, {kInputDeviceMouse, kInputActionReleased, kMouseButtonLeft, 0}},
    {kMessageRightButtonDown, {kInputDeviceMouse, kInputActionPressed, kMouseButtonRight, 0}},
    {kMessageRightButtonUp, {kInputDeviceMouse, kInputActionReleased, kMouseButtonRight, 0}},
    {kMessageMiddleButtonDown, {kInputDeviceMouse, kInputActionPressed, kMouseButtonMiddle, 0}},
    {kMessageMiddleButtonUp, {kInputDeviceMouse, kInputActionReleased, kMouseButtonMiddle, 0}},
};

// The high word of wParam as a signed number (wheel turns), or as it is
// (X buttons: 1 or 2).
int32_t HighWord(uint64_t wParam) { return static_cast<int16_t>(static_cast<uint16_t>(wParam >> 16)); }

// A 16-bit half of a mouse position; positions left of or above the window
// are negative.
int32_t SignedHalf(int64_t lParam, int shift) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(lParam) >> shift));
}

bool KeyEvent(const WindowMessage& message, InputEvent* event) {
    const bool down = message.id == kMessageKeyDown || message.id == kMessageSysKeyDown;
    *event = {kInputDeviceKeyboard, down ? kInputActionPressed : kInputActionReleased,
              KeyCodeFromVirtualKey(message.wParam), 0};
    return true;
}

bool XButtonEvent(const WindowMessage& message, InputEvent* event) {
    const int32_t which = HighWord(message.wParam);
    if (which != 1 && which != 2) return false;
    const int32_t action = message.id == kMessageXButtonDown ? kInputActionPressed : kInputActionReleased;
    *event = {kInputDeviceMouse, action, which == 1 ? kMouseButtonX1 : kMouseButtonX2, 0};
    return true;
}

}  // namespace

bool InputEventFromWindowMessage(const WindowMessage& message, InputEvent* event) {
    switch (message.id) {
        case kMessageKeyDown:
        case kMessageKeyUp:
        case kMessageSysKeyDown:
        case kMessageSysKeyUp:
            return KeyEvent(message, event);
        case kMessageMouseMove:
            *event = {kInputDeviceMouse, kInputActionMoved, message.clientLeft + SignedHalf(message.lParam, 0),
                      message.clientTop + SignedHalf(message.lParam, 16)};
            return true;
        case kMessageMouseWheel:
        case kMessageMouseHorizontalWheel:
            *event = {kInputDeviceMouse, kInputActionPressed,
                      message.id == kMessageMouseWheel ? kMouseWheel : kMouseWheelHorizontal, HighWord(message.wParam)};
            return true;
        case kMessageXButtonDown:
        case kMessageXButtonUp:
            return XButtonEvent(message, event);
        case kMessageActivateApp:
            if (message.wParam != 0) return false;
            *event = {kInputDeviceWindow, kInputActionClosed, kWindowLostForeground, 0};
            return true;
        default:
            break;
    }
    for (const FixedEvent& fixed : kFixedEvents) {
        if (fixed.message == message.id) {
            *event = fixed.event;
            return true;
        }
    }
    return false;
}

}  // namespace zel
