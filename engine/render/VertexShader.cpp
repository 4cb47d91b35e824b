#include "engine/render/VertexShader.h"

namespace zel {

ZEL_DEFINE_RTTI(VertexShader, Shader)

}  // namespace zel
