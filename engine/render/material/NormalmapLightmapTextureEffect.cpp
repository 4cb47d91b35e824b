#include "engine/render/material/NormalmapLightmapTextureEffect.h"

namespace zel {

ZEL_DEFINE_RTTI(NormalmapLightmapTextureEffect, LightmapTextureEffect)

NormalmapLightmapTextureEffect::NormalmapLightmapTextureEffect() = default;

}  // namespace zel
