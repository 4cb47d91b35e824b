// Puts the system's window calls behind the renderer's WindowSystem. Done by
// the input manager's initialisation, which also pumps those windows'
// messages; natively there is no system window and nothing is installed.
#pragma once

namespace zel {

void InstallWindowSystem();
// Uninstalls only what InstallWindowSystem installed.
void UninstallWindowSystem();

}  // namespace zel
