#include "engine/platform/WindowSystemInstall.h"

namespace zel {

void InstallWindowSystem() {}

void UninstallWindowSystem() {}

}  // namespace zel
