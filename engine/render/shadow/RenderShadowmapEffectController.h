// Renders, before each frame, the depth of a ShadowmapEffect's nodes as
// seen from its light into the effect's shadow map, and stores the matrix
// that takes world positions to shadow-map coordinates in the effect. Its
// controlled object is the effect.
#pragma once

#include "engine/math/Matrix4.h"
#include "engine/render/PostUpdateController.h"

namespace zel {

class Camera;
class ShadowmapEffect;

class RenderShadowmapEffectController : public PostUpdateController {
    ZEL_DECLARE_RTTI

public:
    // Nothing without a shadow map or a light.
    void Render(Renderer& renderer) override;

    // Fits the effect's light camera to `viewer` (the current camera, may
    // be null) and returns the light texture matrix.
    static Matrix4 FitLightCamera(ShadowmapEffect& effect, const Camera* viewer, int32_t viewportWidth,
                                  int32_t viewportHeight);
};
ZEL_REGISTER_CLASS(RenderShadowmapEffectController)

}  // namespace zel
