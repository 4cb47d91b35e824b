// Win32 side of the message box seam.
#include "engine/os/Os.h"
#include "engine/os/win32/Windows.h"

namespace zel::os {

void ShowSystemMessageBox(const char* text) { MessageBoxA(nullptr, text, "", MB_OK); }

}  // namespace zel::os
