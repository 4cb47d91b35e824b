#include "engine/platform/win32/WindowProcedure.h"

#include "engine/core/Log.h"
#include "engine/platform/InputManager.h"
#include "engine/platform/KeyCodes.h"

namespace zel {

namespace {

struct ButtonMessage {
    UINT message;
    int32_t action;
    int32_t button;
};

constexpr ButtonMessage kButtonMessages[] = {
    {WM_LBUTTONDOWN, kInputActionPressed, kMouseButtonLeft},
    {WM_LBUTTONUP, kInputActionReleased, kMouseButtonLeft},
    {WM_RBUTTONDOWN, kInputActionPressed, kMouseButtonRight},
    {WM_RBUTTONUP, kInputActionReleased, kMouseButtonRight},
    {WM_MBUTTONDOWN, kInputActionPressed, kMouseButtonMiddle},
    {WM_MBUTTONUP, kInputActionReleased, kMouseButtonMiddle},
};

void PostEvent(int32_t device, int32_t action, int32_t code, int32_t y) {
    PostInputEvent(InputEvent{device, action, code, y});
}

void PostMessageEvent(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
        case WM_CLOSE:
        case WM_QUIT:
            LogInfo("DESTROY WINDOW!!!!");
            PostEvent(kInputDeviceWindow, kInputActionClosed, 0, 0);
            return;
        case WM_KEYDOWN:
            PostEvent(kInputDeviceKeyboard, kInputActionPressed, KeyCodeFromVirtualKey(wParam), 0);
            return;
        case WM_KEYUP:
            PostEvent(kInputDeviceKeyboard, kInputActionReleased, KeyCodeFromVirtualKey(wParam), 0);
            return;
        case WM_MOUSEMOVE: {
            const uint32_t position = static_cast<uint32_t>(lParam);
            PostEvent(kInputDeviceMouse, kInputActionMoved, static_cast<int32_t>(position & 0xFFFF),
                      static_cast<int32_t>(position >> 16));
            return;
        }
        default:
            break;
    }
    for (const ButtonMessage& button : kButtonMessages) {
        if (button.message == message) {
            PostEvent(kInputDeviceMouse, button.action, button.button, 0);
            return;
        }
    }
}

}  // namespace

LRESULT CALLBACK SystemWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageEvent(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zel
