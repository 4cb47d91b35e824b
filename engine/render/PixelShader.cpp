#include "engine/render/PixelShader.h"

namespace zel {

ZEL_DEFINE_RTTI(PixelShader, Shader)

}  // namespace zel
