// The small preview inside the Screen Saver panel: a child window of the
// panel's window showing a still picture until the panel closes it.
#pragma once

#include "app/win32/WindowsApp.h"
#include "engine/platform/DisplaySystem.h"

namespace zel {

// Registers the class `className` and creates the child window over the
// parent's client area (a 50 × 50 window at 100, 100 without a parent).
// Null when it cannot be created.
[[nodiscard]] HWND CreatePreviewWindow(HINSTANCE instance, const char* className, HWND parent);

// A plain top-level window at `rect` (screen coordinates, borderless, so
// its client area is the rectangle) to host the preview in place of the
// panel's window (the ZEL_PREVIEW_HOST test hook). Null when it cannot be
// created.
[[nodiscard]] HWND CreatePreviewHost(HINSTANCE instance, const WindowRect& rect);

// Pumps the window's messages for half a second, then all messages until
// the window is closed (`running` cleared).
void PumpPreview(HWND window, bool& running);

}  // namespace zel
