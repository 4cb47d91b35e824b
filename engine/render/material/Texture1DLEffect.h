// A texture lit by one directional light: per vertex with level-1.x programs,
// per pixel with level 2.0, through the device's lighting without programs.
// Both techniques need two texture stages and a light; below that it draws
// as TextureEffect (unlit).
#pragma once

#include "engine/render/material/LitEffect.h"
#include "engine/render/material/TextureEffect.h"

namespace zel {

class Texture1DLEffect : public LitEffect<TextureEffect> {
    ZEL_DECLARE_RTTI

public:
    Texture1DLEffect();
};
ZEL_REGISTER_CLASS(Texture1DLEffect)

}  // namespace zel
