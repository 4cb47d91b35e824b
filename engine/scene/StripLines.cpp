#include "engine/scene/StripLines.h"

namespace zel {

ZEL_DEFINE_RTTI(StripLines, GeometryNode)

}  // namespace zel
