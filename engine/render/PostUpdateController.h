// Base of the controllers that render into textures before the frame
// (shadow maps, screen-space reflection and refraction): updating an active
// one queues it on the current renderer, which calls Render at the start of
// the next frame.
#pragma once

#include "engine/core/Controller.h"

namespace zel {

class Renderer;

class PostUpdateController : public Controller {
    ZEL_DECLARE_RTTI

public:
    // When active, queues this controller on the current renderer.
    void Update(double dt) override;
    // Renders the controller's texture; nothing here.
    virtual void Render(Renderer& renderer);
};
ZEL_REGISTER_CLASS(PostUpdateController)

}  // namespace zel
