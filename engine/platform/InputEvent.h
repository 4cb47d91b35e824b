// One keyboard, mouse or window event, as the window procedure posts it and
// the input handlers receive it.
#pragma once

#include <cstdint>

namespace zel {

constexpr int32_t kInputDeviceKeyboard = 0;
constexpr int32_t kInputDeviceMouse = 1;
constexpr int32_t kInputDeviceWindow = 2;

constexpr int32_t kInputActionPressed = 1;
constexpr int32_t kInputActionReleased = 2;
constexpr int32_t kInputActionMoved = 3;   // mouse
constexpr int32_t kInputActionClosed = 4;  // window

constexpr int32_t kMouseButtonLeft = 0;
constexpr int32_t kMouseButtonRight = 1;
constexpr int32_t kMouseButtonMiddle = 2;
constexpr int32_t kMouseButtonX1 = 3;
constexpr int32_t kMouseButtonX2 = 4;
// A wheel turn is a press of one of these; its y is the signed turn, 120 a
// notch, positive away from the user (vertical) or to the right.
constexpr int32_t kMouseWheel = 5;
constexpr int32_t kMouseWheelHorizontal = 6;

// The code of a window-closed event: the window closed, or the program lost
// the foreground to another one (which the show treats as a close).
constexpr int32_t kWindowClosed = 0;
constexpr int32_t kWindowLostForeground = 1;

struct InputEvent {
    int32_t device = 0;
    int32_t action = 0;
    // Key code (KeyCodes.h), mouse button, the x position of a move (on the
    // screen), or why a window closed.
    int32_t code = 0;
    // The y position of a mouse move, a wheel's turn, else 0.
    int32_t y = 0;

    bool operator==(const InputEvent&) const = default;
};

}  // namespace zel
