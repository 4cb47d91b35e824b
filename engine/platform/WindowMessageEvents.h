// Which window messages become input events, and which events: the window
// procedure's table, kept free of the system's headers so that it is built
// and tested everywhere. Message numbers are the system's (WM_*).
#pragma once

#include <cstdint>

#include "engine/platform/InputEvent.h"

namespace zel {

constexpr uint32_t kMessageDestroy = 0x0002;
constexpr uint32_t kMessageClose = 0x0010;
constexpr uint32_t kMessageQuit = 0x0012;
constexpr uint32_t kMessageActivateApp = 0x001C;
constexpr uint32_t kMessageKeyDown = 0x0100;
constexpr uint32_t kMessageKeyUp = 0x0101;
constexpr uint32_t kMessageSysKeyDown = 0x0104;
constexpr uint32_t kMessageSysKeyUp = 0x0105;
constexpr uint32_t kMessageMouseMove = 0x0200;
constexpr uint32_t kMessageLeftButtonDown = 0x0201;
constexpr uint32_t kMessageLeftButtonUp = 0x0202;
constexpr uint32_t kMessageRightButtonDown = 0x0204;
constexpr uint32_t kMessageRightButtonUp = 0x0205;
constexpr uint32_t kMessageMiddleButtonDown = 0x0207;
constexpr uint32_t kMessageMiddleButtonUp = 0x0208;
constexpr uint32_t kMessageMouseWheel = 0x020A;
constexpr uint32_t kMessageXButtonDown = 0x020B;
constexpr uint32_t kMessageXButtonUp = 0x020C;
constexpr uint32_t kMessageMouseHorizontalWheel = 0x020E;

struct WindowMessage {
    uint32_t id = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    // Where the window's client area starts on the screen: mouse positions
    // come in client coordinates and are posted in screen coordinates.
    int32_t clientLeft = 0;
    int32_t clientTop = 0;
};

// The event `message` posts, in *event (not null); false for a message that
// posts none.
//   close, destroy, quit          window closed, code kWindowClosed
//   activate-app, wParam 0        window closed, code kWindowLostForeground:
//                                 another program took the foreground
//   key and system-key down / up  key pressed / released, its key code
//   mouse move                    moved, x and y on the screen (the client
//                                 position's 16-bit halves read as signed)
//   button down / up              pressed / released: left 0, right 1,
//                                 middle 2, X1 3, X2 4 (wParam's high word)
//   wheel, horizontal wheel       pressed, kMouseWheel / kMouseWheelHorizontal,
//                                 y the signed turn (wParam's high word)
bool InputEventFromWindowMessage(const WindowMessage& message, InputEvent* event);

}  // namespace zel
