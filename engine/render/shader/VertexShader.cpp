#include "engine/render/shader/VertexShader.h"

namespace zel {

ZEL_DEFINE_RTTI(VertexShader, Shader)

}  // namespace zel
