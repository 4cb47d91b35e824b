#include "engine/render/water/RenderScreenspaceReflectTextureController.h"

namespace zel {

ZEL_DEFINE_RTTI(RenderScreenspaceReflectTextureController, RenderScreenspaceTextureController)

}  // namespace zel
