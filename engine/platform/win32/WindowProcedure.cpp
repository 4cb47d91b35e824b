#include "engine/platform/win32/WindowProcedure.h"

#include "engine/core/Log.h"
#include "engine/platform/InputManager.h"
#include "engine/platform/WindowMessageEvents.h"

namespace zel {

namespace {

static_assert(kMessageDestroy == WM_DESTROY && kMessageClose == WM_CLOSE && kMessageQuit == WM_QUIT &&
              kMessageActivateApp == WM_ACTIVATEAPP);
static_assert(kMessageKeyDown == WM_KEYDOWN && kMessageKeyUp == WM_KEYUP && kMessageSysKeyDown == WM_SYSKEYDOWN &&
              kMessageSysKeyUp == WM_SYSKEYUP);
static_assert(kMessageMouseMove == WM_MOUSEMOVE && kMessageLeftButtonDown == WM_LBUTTONDOWN &&
              kMessageLeftButtonUp == WM_LBUTTONUP && kMessageRightButtonDown == WM_RBUTTONDOWN &&
              kMessageRightButtonUp == WM_RBUTTONUP && kMessageMiddleButtonDown == WM_MBUTTONDOWN &&
              kMessageMiddleButtonUp == WM_MBUTTONUP);
static_assert(kMessageMouseWheel == WM_MOUSEWHEEL && kMessageMouseHorizontalWheel == WM_MOUSEHWHEEL &&
              kMessageXButtonDown == WM_XBUTTONDOWN && kMessageXButtonUp == WM_XBUTTONUP);

void PostMessageEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowMessage translated{message, wParam, static_cast<int64_t>(lParam)};
    if (message == WM_MOUSEMOVE) {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        translated.clientLeft = origin.x;
        translated.clientTop = origin.y;
    }
    InputEvent event;
    if (!InputEventFromWindowMessage(translated, &event)) return;
    if (event.device == kInputDeviceWindow && event.code == kWindowClosed) LogInfo("DESTROY WINDOW!!!!");
    PostInputEvent(event);
}

}  // namespace

LRESULT CALLBACK SystemWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageEvent(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zel
