// A texture times the colour times a light map (stage 1). Both techniques need
// two texture stages: a shader one at any shader level, a fixed-function one.
#pragma once

#include "engine/render/material/MapEffect.h"
#include "engine/render/material/TextureEffect.h"

namespace zel {

class LightmapTextureEffect : public WithLightmap<TextureEffect> {
    ZEL_DECLARE_RTTI

public:
    LightmapTextureEffect();
};
ZEL_REGISTER_CLASS(LightmapTextureEffect)

}  // namespace zel
