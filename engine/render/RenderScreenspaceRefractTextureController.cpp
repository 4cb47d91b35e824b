#include "engine/render/RenderScreenspaceRefractTextureController.h"

namespace zel {

ZEL_DEFINE_RTTI(RenderScreenspaceRefractTextureController, RenderScreenspaceTextureController)

}  // namespace zel
