// A texture lit per pixel by one directional light on a tangent-space normal
// map (level 2.0; per vertex without the map at level 1.x). The shader
// technique needs three texture stages; the fixed-function one lights the
// plain texture.
#pragma once

#include "engine/render/material/LitEffect.h"
#include "engine/render/material/NormalmapTextureEffect.h"

namespace zel {

class NormalmapTexture1DLEffect : public LitEffect<NormalmapTextureEffect> {
    ZEL_DECLARE_RTTI

public:
    NormalmapTexture1DLEffect();
};
ZEL_REGISTER_CLASS(NormalmapTexture1DLEffect)

}  // namespace zel
