// The "Car" sound plays only while the camera is away from the cars: the
// cameras listed here look at the scene from inside or far off.
#pragma once

#include "engine/core/String.h"

namespace zel {

// True when the "Car" sound is silent under the camera of that name.
bool IsCarSilentUnder(const String& cameraName);

}  // namespace zel
