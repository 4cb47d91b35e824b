#include "engine/render/material/LightmapTexture1DLEffect.h"

#include <new>

#include "engine/render/material/LitFixedPass.h"
#include "engine/render/material/LitShaderPass.h"
#include "engine/render/material/MaterialTechnique.h"

namespace zel {

ZEL_DEFINE_RTTI(LightmapTexture1DLEffect, LightmapTextureEffect)

LightmapTexture1DLEffect::LightmapTexture1DLEffect() {
    AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::TwoTexturesLight,
        &MakeMaterialPass<LitFixedPass, TextureEffect>, &MakeMaterialPass<LightmapOverlayPass, TextureEffect>));
    AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::ShadersTwoTexturesLight,
        &LitShaderPass::Make<&kLitLightmapPrograms, false>));
}

}  // namespace zel
