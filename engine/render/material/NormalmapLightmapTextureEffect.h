// A light-mapped texture with a normal map. No techniques of its own: it draws
// as LightmapTextureEffect; NormalmapLightmapTexture1DLEffect uses the map.
#pragma once

#include "engine/render/material/LightmapTextureEffect.h"
#include "engine/render/material/MapEffect.h"

namespace zel {

class NormalmapLightmapTextureEffect : public WithNormalmap<LightmapTextureEffect> {
    ZEL_DECLARE_RTTI

public:
    NormalmapLightmapTextureEffect();
};
ZEL_REGISTER_CLASS(NormalmapLightmapTextureEffect)

}  // namespace zel
