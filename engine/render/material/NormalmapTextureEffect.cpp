#include "engine/render/material/NormalmapTextureEffect.h"

namespace zel {

ZEL_DEFINE_RTTI(NormalmapTextureEffect, TextureEffect)

NormalmapTextureEffect::NormalmapTextureEffect() = default;

}  // namespace zel
