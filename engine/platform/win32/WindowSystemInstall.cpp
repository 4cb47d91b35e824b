#include "engine/platform/WindowSystemInstall.h"

#include "engine/platform/SystemWindow.h"
#include "engine/platform/win32/Win32DisplaySystem.h"

namespace zel {

namespace {

Win32DisplaySystem gDisplay;
SystemWindow gSystemWindow(gDisplay);

}  // namespace

void InstallWindowSystem() { SetWindowSystem(&gSystemWindow); }

void UninstallWindowSystem() {
    if (GetWindowSystem() == &gSystemWindow) SetWindowSystem(nullptr);
}

}  // namespace zel
