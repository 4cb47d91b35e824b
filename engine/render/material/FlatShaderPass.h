// The shader pass of the unlit effects: flat colour, texture × colour and
// texture × colour × light map (by `layers`: 0, 1 or 2 textures). Binds the
// indices, the coordinates and textures of its layers, the positions (or
// the skin's streams), the programs and c0-c7, the colour (c8, or c208 when
// skinned), the fog register (c9 or c209) and the wave register (c10).
#pragma once

#include "engine/render/material/ColorEffect.h"
#include "engine/render/material/MaterialPass.h"

namespace zel {

class FlatShaderPass : public MaterialShaderPass {
public:
    FlatShaderPass(ColorEffect* effect, const MaterialPrograms& programs, int32_t layers,
                   const RendererCapabilities& caps);

    int32_t Draw(Renderer& renderer) override;

    // The pass maker for the programs P with `Layers` textures.
    template <const MaterialPrograms* P, int32_t Layers>
    static Pass* Make(GeometryNodeEffect& effect, const RendererCapabilities& caps);

private:
    ColorEffect* color_;  // not owning: the effect owns the pass
    int32_t layers_;
};

template <const MaterialPrograms* P, int32_t Layers>
Pass* FlatShaderPass::Make(GeometryNodeEffect& effect, const RendererCapabilities& caps) {
    return new (std::nothrow) FlatShaderPass(static_cast<ColorEffect*>(&effect), *P, Layers, caps);
}

}  // namespace zel
