#include "engine/animation/particles/Emitter.h"

namespace zel {

ZEL_DEFINE_RTTI(Emitter, Object)

}  // namespace zel
