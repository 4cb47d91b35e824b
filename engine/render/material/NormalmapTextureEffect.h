// A texture with a normal map. No techniques of its own: it draws as
// TextureEffect; its subclasses (the lit and the water effects) use the map.
#pragma once

#include "engine/render/material/MapEffect.h"
#include "engine/render/material/TextureEffect.h"

namespace zel {

class NormalmapTextureEffect : public WithNormalmap<TextureEffect> {
    ZEL_DECLARE_RTTI

public:
    NormalmapTextureEffect();
};
ZEL_REGISTER_CLASS(NormalmapTextureEffect)

}  // namespace zel
