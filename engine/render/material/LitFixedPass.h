// Fixed-function passes of the lit effects. LitFixedPass draws the texture
// lit by the effect's light through the device's own lighting (the light is
// pushed on the renderer's light stack and enabled). LightmapOverlayPass,
// the second pass of the light-mapped lit effects, multiplies the light map
// into the frame: blending destination colour × zero over the same depths.
#pragma once

#include "engine/render/material/MaterialPass.h"

namespace zel {

class TextureEffect;

class LitFixedPass : public MaterialFixedPass {
public:
    LitFixedPass(TextureEffect* effect, const RendererCapabilities& caps);

    int32_t Draw(Renderer& renderer) override;

private:
    TextureEffect* texture_;  // not owning: the effect owns the pass
};

class LightmapOverlayPass : public MaterialFixedPass {
public:
    LightmapOverlayPass(TextureEffect* effect, const RendererCapabilities& caps);

    // The effect copy, then blending on (destination colour, zero) and the
    // depth function equal.
    void Refresh() override;
    int32_t Draw(Renderer& renderer) override;

private:
    TextureEffect* texture_;  // not owning: the effect owns the pass
};

}  // namespace zel
