// Renders, before each frame, the depth of a ShadowmapEffect's nodes as
// seen from its light into the effect's shadow map, and stores the matrix
// that takes world positions to shadow-map coordinates in the effect. Its
// controlled object is the effect. Only casters that reach the light
// camera's clip volume and whose shadow can fall inside the current view
// are drawn (ShadowCulling).
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

private:
    // The listed nodes that can darken something in `viewer`'s view (null:
    // every node inside the light camera's clip volume).
    static void DrawCasters(Renderer& renderer, ShadowmapEffect& effect, Camera* viewer);
};
ZEL_REGISTER_CLASS(RenderShadowmapEffectController)

}  // namespace zel
