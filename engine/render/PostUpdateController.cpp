#include "engine/render/PostUpdateController.h"

#include "engine/render/Renderer.h"

namespace zel {

ZEL_DEFINE_RTTI(PostUpdateController, Controller)

void PostUpdateController::Update(double) {
    if (!IsActive()) return;
    if (Renderer* renderer = GetCurrentRenderer()) renderer->QueuePreRender(this);
}

void PostUpdateController::Render(Renderer&) {}

}  // namespace zel
