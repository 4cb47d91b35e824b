#include "engine/render/RenderStateBlock.h"

namespace zel {

ZEL_DEFINE_RTTI(RenderStateBlock, Object)

}  // namespace zel
