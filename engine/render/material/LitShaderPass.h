// The shader pass of the effects lit by one directional light. With level
// 1.x programs the light is evaluated per vertex (constants c8-c20); with
// level 2.0 per pixel, either on the interpolated normal or, for the
// normal-mapped classes, on the normal map in tangent space. A light map,
// when the class has one, multiplies the result. Without a light the light
// colours are (0, 0, 0, 1) and the direction a fixed one from above.
#pragma once

#include "engine/render/material/MaterialPass.h"
#include "engine/render/material/TextureEffect.h"

namespace zel {

class Light;

class LitShaderPass : public MaterialShaderPass {
public:
    LitShaderPass(TextureEffect* effect, const MaterialPrograms& programs, bool normalMapped,
                  const RendererCapabilities& caps);

    int32_t Draw(Renderer& renderer) override;

    template <const MaterialPrograms* P, bool NormalMapped>
    static Pass* Make(GeometryNodeEffect& effect, const RendererCapabilities& caps);

private:
    // The light's colours and its direction towards the light in object
    // space.
    struct LightTerms {
        ColorRGBA ambient{0.0f, 0.0f, 0.0f, 1.0f};
        ColorRGBA diffuse{0.0f, 0.0f, 0.0f, 1.0f};
        ColorRGBA specular{0.0f, 0.0f, 0.0f, 1.0f};
        Vector3 toLight{0.0f, 1.0f, 0.0f};
    };
    static LightTerms TermsOf(const Light* light, const MaterialFrame& frame);

    void SetPerVertexConstants(Renderer& renderer, const MaterialFrame& frame, const LightTerms& light) const;
    void SetPerPixelConstants(Renderer& renderer, const MaterialFrame& frame, const LightTerms& light) const;
    void SetNormalMapConstants(Renderer& renderer, const MaterialFrame& frame, const LightTerms& light) const;

    TextureEffect* texture_;  // not owning: the effect owns the pass
    bool normalMapped_;
};

template <const MaterialPrograms* P, bool NormalMapped>
Pass* LitShaderPass::Make(GeometryNodeEffect& effect, const RendererCapabilities& caps) {
    return new (std::nothrow) LitShaderPass(static_cast<TextureEffect*>(&effect), *P, NormalMapped, caps);
}

}  // namespace zel
