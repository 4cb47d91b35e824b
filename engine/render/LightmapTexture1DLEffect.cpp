#include "engine/render/LightmapTexture1DLEffect.h"

#include <new>

#include "engine/render/LitFixedPass.h"
#include "engine/render/LitShaderPass.h"
#include "engine/render/MaterialTechnique.h"

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
