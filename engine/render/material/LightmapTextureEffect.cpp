#include "engine/render/material/LightmapTextureEffect.h"

#include <new>

#include "engine/render/material/FlatFixedPass.h"
#include "engine/render/material/FlatShaderPass.h"
#include "engine/render/material/MaterialTechnique.h"

namespace zel {

ZEL_DEFINE_RTTI(LightmapTextureEffect, TextureEffect)

LightmapTextureEffect::LightmapTextureEffect() {
    // A technique that cannot be added (out of memory) is dropped; the effect
    // runs one of the others, or draws nothing.
    (void)AddTechnique(new (std::nothrow) MaterialTechnique(this, &MaterialTechnique::TwoTextures,
                                                            &FlatFixedPass::Make<2>));
    (void)AddTechnique(new (std::nothrow) MaterialTechnique(this, &MaterialTechnique::ShadersTwoTextures,
                                                            &FlatShaderPass::Make<&kLightmapPrograms, 2>));
}

}  // namespace zel
