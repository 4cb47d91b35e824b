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

struct InputEvent {
    int32_t device = 0;
    int32_t action = 0;
    // Key code (KeyCodes.h), mouse button, or the x position of a move.
    int32_t code = 0;
    // The y position of a mouse move, else 0.
    int32_t y = 0;

    bool operator==(const InputEvent&) const = default;
};

}  // namespace zel
