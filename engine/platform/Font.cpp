#include "engine/platform/Font.h"

namespace zel {

ZEL_DEFINE_RTTI(Font, Object)

}  // namespace zel
