#include "engine/render/material/LightmapTexture1DLEffect.h"

#include <new>

#include "engine/render/material/LitFixedPass.h"
#include "engine/render/material/LitShaderPass.h"
#include "engine/render/material/MaterialTechnique.h"

namespace zel {

ZEL_DEFINE_RTTI(LightmapTexture1DLEffect, LightmapTextureEffect)

LightmapTexture1DLEffect::LightmapTexture1DLEffect() {
    // A technique that cannot be added (out of memory) is dropped; the effect
    // runs one of the others, or draws nothing.
    (void)AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::TwoTexturesLight,
        &MakeMaterialPass<LitFixedPass, TextureEffect>, &MakeMaterialPass<LightmapOverlayPass, TextureEffect>));
    (void)AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::ShadersTwoTexturesLight,
        &LitShaderPass::Make<&kLitLightmapPrograms, false>));
}

}  // namespace zel
