#include "engine/animation/Emitter.h"

namespace zel {

ZEL_DEFINE_RTTI(Emitter, Object)

}  // namespace zel
