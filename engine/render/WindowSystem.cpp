#include "engine/render/WindowSystem.h"

namespace zel {

namespace {
WindowSystem* gWindowSystem = nullptr;
}  // namespace

WindowSystem* GetWindowSystem() { return gWindowSystem; }

void SetWindowSystem(WindowSystem* system) { gWindowSystem = system; }

}  // namespace zel
