#include "engine/render/shader/PixelShader.h"

namespace zel {

ZEL_DEFINE_RTTI(PixelShader, Shader)

}  // namespace zel
