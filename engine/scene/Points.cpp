#include "engine/scene/Points.h"

namespace zel {

ZEL_DEFINE_RTTI(Points, GeometryNode)

}  // namespace zel
