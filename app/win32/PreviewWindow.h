// The small preview inside the Screen Saver panel: a child window of the
// panel's window showing a still picture until the panel closes it.
#pragma once

#include "app/win32/WindowsApp.h"

namespace zel {

// Registers the class `className` and creates the child window over the
// parent's client area (a 50 × 50 window at 100, 100 without a parent).
// Null when it cannot be created.
HWND CreatePreviewWindow(HINSTANCE instance, const char* className, HWND parent);

// Pumps the window's messages for half a second, then all messages until
// the window is closed (`running` cleared).
void PumpPreview(HWND window, bool& running);

}  // namespace zel
