// The fixed-function pass of the unlit effects: the node gets a colour
// buffer of its vertex count holding the effect colour (made when it has
// none, refilled when the colour changes), modulated by `layers` textures
// (0, 1: texture on stage 0, 2: and the light map on stage 1).
#pragma once

#include "engine/core/Buffer.h"
#include "engine/render/material/ColorEffect.h"
#include "engine/render/material/MaterialPass.h"

namespace zel {

class FlatFixedPass : public MaterialFixedPass {
public:
    FlatFixedPass(ColorEffect* effect, int32_t layers);

    int32_t Draw(Renderer& renderer) override;

    template <int32_t Layers>
    static Pass* Make(GeometryNodeEffect& effect, const RendererCapabilities& caps);

private:
    // The node's colour buffer filled with the effect colour; null when it
    // cannot be made.
    ColorBuffer* FillColors(GeometryNode& node) const;

    ColorEffect* color_;  // not owning: the effect owns the pass
    int32_t layers_;
};

template <int32_t Layers>
Pass* FlatFixedPass::Make(GeometryNodeEffect& effect, const RendererCapabilities&) {
    return new (std::nothrow) FlatFixedPass(static_cast<ColorEffect*>(&effect), Layers);
}

}  // namespace zel
