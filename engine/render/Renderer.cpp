#include "engine/render/Renderer.h"

namespace zel {

namespace {
Pointer<Renderer> gCurrentRenderer;
}  // namespace

Renderer* GetCurrentRenderer() { return gCurrentRenderer.Get(); }

void SetCurrentRenderer(Renderer* renderer) { gCurrentRenderer = renderer; }

}  // namespace zel
