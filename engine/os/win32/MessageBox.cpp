// Win32 side of the message box seam: the engine's Windows-1251 text shown
// through the wide call, so it reads right under any ANSI code page.
#include "engine/os/Os.h"
#include "engine/os/win32/WideText.h"
#include "engine/os/win32/Windows.h"

namespace zel::os {

void ShowSystemMessageBox(const char* text) { MessageBoxW(nullptr, WideText(text).CStr(), L"", MB_OK); }

}  // namespace zel::os
