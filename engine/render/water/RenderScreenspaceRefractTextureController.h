// Renders into its texture, before each frame, the scene as the camera sees
// it, clipped 0.8 above the water plane (what lies below and just above the
// surface): the image the refractive water looks up in screen space.
#pragma once

#include "engine/render/water/RenderScreenspaceTextureController.h"

namespace zel {

class RenderScreenspaceRefractTextureController : public RenderScreenspaceTextureController {
    ZEL_DECLARE_RTTI

protected:
    bool IsReflection() const override { return false; }
    float GetClipOffset() const override { return 0.8f; }
};
ZEL_REGISTER_CLASS(RenderScreenspaceRefractTextureController)

}  // namespace zel
