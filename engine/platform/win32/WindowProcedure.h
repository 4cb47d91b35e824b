// The procedure of the engine's window class: keyboard, mouse, close and
// lost-foreground messages become input events (WindowMessageEvents.h);
// every message then goes on to the system's default handling.
#pragma once

#include "engine/os/win32/Windows.h"

namespace zel {

LRESULT CALLBACK SystemWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace zel
