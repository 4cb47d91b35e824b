// Renders into its texture, before each frame, the scene mirrored in the
// water plane and clipped at it: the image the reflective water looks up
// in screen space.
#pragma once

#include "engine/render/water/RenderScreenspaceTextureController.h"

namespace zel {

class RenderScreenspaceReflectTextureController : public RenderScreenspaceTextureController {
    ZEL_DECLARE_RTTI

protected:
    bool IsReflection() const override { return true; }
    float GetClipOffset() const override { return 0.0f; }
};
ZEL_REGISTER_CLASS(RenderScreenspaceReflectTextureController)

}  // namespace zel
