// A texture lit by one directional light, then times a light map. Without
// programs it takes two passes: the lit texture, then the light map
// multiplied into the frame.
#pragma once

#include "engine/render/material/LightmapTextureEffect.h"
#include "engine/render/material/LitEffect.h"

namespace zel {

class LightmapTexture1DLEffect : public LitEffect<LightmapTextureEffect> {
    ZEL_DECLARE_RTTI

public:
    LightmapTexture1DLEffect();
};
ZEL_REGISTER_CLASS(LightmapTexture1DLEffect)

}  // namespace zel
