// A normal-mapped texture lit by one directional light, then times a light
// map (three samplers at level 2.0). Without programs it takes two passes
// like LightmapTexture1DLEffect.
#pragma once

#include "engine/render/material/LitEffect.h"
#include "engine/render/material/NormalmapLightmapTextureEffect.h"

namespace zel {

class NormalmapLightmapTexture1DLEffect : public LitEffect<NormalmapLightmapTextureEffect> {
    ZEL_DECLARE_RTTI

public:
    NormalmapLightmapTexture1DLEffect();
};
ZEL_REGISTER_CLASS(NormalmapLightmapTexture1DLEffect)

}  // namespace zel
