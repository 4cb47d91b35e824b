#include "engine/scene/Lines.h"

namespace zel {

ZEL_DEFINE_RTTI(Lines, GeometryNode)

}  // namespace zel
