#include "engine/render/RenderScreenspaceReflectTextureController.h"

namespace zel {

ZEL_DEFINE_RTTI(RenderScreenspaceReflectTextureController, RenderScreenspaceTextureController)

}  // namespace zel
