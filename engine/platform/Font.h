// A font. The engine keeps fonts by name (FontManager) but draws its texts
// otherwise, so the class has no data of its own and no factory entry.
#pragma once

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"

namespace zel {

class Font : public Object {
    ZEL_DECLARE_RTTI
};

}  // namespace zel
