// A material effect's technique: one requirement on the renderer's
// capabilities and one or two passes made when it is met. The requirement
// functions below are the ones the material effects use.
#pragma once

#include <new>

#include "engine/render/RendererCapabilities.h"
#include "engine/render/Technique.h"

namespace zel {

class GeometryNodeEffect;
class Pass;

class MaterialTechnique : public Technique {
public:
    using Requirement = bool (*)(const RendererCapabilities& caps);
    // Makes a pass for the effect on a device with these capabilities (null
    // when out of memory).
    using PassMaker = Pass* (*)(GeometryNodeEffect& effect, const RendererCapabilities& caps);

    // Not owning: the effect owns the technique. `second` may be null.
    MaterialTechnique(GeometryNodeEffect* effect, Requirement requirement, PassMaker first,
                      PassMaker second = nullptr);

    // False when the requirement fails or a pass cannot be allocated.
    bool Init(const Renderer& renderer) override;

    // The requirements, by what they ask for.
    static bool Always(const RendererCapabilities& caps);
    static bool Shaders(const RendererCapabilities& caps);
    static bool OneTexture(const RendererCapabilities& caps);
    static bool TwoTextures(const RendererCapabilities& caps);
    static bool ShadersTwoTextures(const RendererCapabilities& caps);
    static bool TwoTexturesLight(const RendererCapabilities& caps);
    static bool ShadersTwoTexturesLight(const RendererCapabilities& caps);
    static bool ShadersThreeTextures(const RendererCapabilities& caps);
    // Vertex programs of any level and pixel programs of level 2.0 or 3.0.
    static bool PixelShaders20(const RendererCapabilities& caps);

private:
    GeometryNodeEffect* effect_;
    Requirement requirement_;
    PassMaker makers_[2];
};

// The pass maker of pass class P built as P(E*, caps).
template <class P, class E>
Pass* MakeMaterialPass(GeometryNodeEffect& effect, const RendererCapabilities& caps) {
    return new (std::nothrow) P(static_cast<E*>(&effect), caps);
}

}  // namespace zel
