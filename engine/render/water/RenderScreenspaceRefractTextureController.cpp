#include "engine/render/water/RenderScreenspaceRefractTextureController.h"

namespace zel {

ZEL_DEFINE_RTTI(RenderScreenspaceRefractTextureController, RenderScreenspaceTextureController)

}  // namespace zel
