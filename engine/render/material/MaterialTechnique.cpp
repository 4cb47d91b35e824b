#include "engine/render/material/MaterialTechnique.h"

#include <new>

#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/Pass.h"
#include "engine/render/Renderer.h"

namespace zel {

MaterialTechnique::MaterialTechnique(GeometryNodeEffect* effect, Requirement requirement, PassMaker first,
                                     PassMaker second)
    : Technique(effect), effect_(effect), requirement_(requirement), makers_{first, second} {}

bool MaterialTechnique::Init(const Renderer& renderer) {
    const RendererCapabilities& caps = renderer.GetCapabilities();
    if (!requirement_(caps)) return false;
    for (PassMaker maker : makers_) {
        if (maker == nullptr) continue;
        Pass* pass = maker(*effect_, caps);
        if (pass == nullptr || AddPass(pass) != kOk) return false;
    }
    return true;
}

bool MaterialTechnique::Always(const RendererCapabilities&) { return true; }

bool MaterialTechnique::Shaders(const RendererCapabilities& caps) { return caps.HasShaders(); }

bool MaterialTechnique::OneTexture(const RendererCapabilities& caps) { return caps.simultaneousTextures >= 1; }

bool MaterialTechnique::TwoTextures(const RendererCapabilities& caps) { return caps.simultaneousTextures >= 2; }

bool MaterialTechnique::ShadersTwoTextures(const RendererCapabilities& caps) {
    return caps.HasShaders() && TwoTextures(caps);
}

bool MaterialTechnique::TwoTexturesLight(const RendererCapabilities& caps) {
    return TwoTextures(caps) && caps.maxActiveLights >= 1;
}

bool MaterialTechnique::ShadersTwoTexturesLight(const RendererCapabilities& caps) {
    return caps.HasShaders() && TwoTexturesLight(caps);
}

bool MaterialTechnique::ShadersThreeTextures(const RendererCapabilities& caps) {
    return caps.HasShaders() && caps.simultaneousTextures >= 3;
}

bool MaterialTechnique::PixelShaders20(const RendererCapabilities& caps) {
    return caps.vertexShaderLevel != RendererCapabilities::kShaderLevelNone &&
           RendererCapabilities::IsLevel2OrAbove(caps.pixelShaderLevel);
}

}  // namespace zel
