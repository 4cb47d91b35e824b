// The overlay's texts: the clock in 12- or 24-hour form and the frame rate.
#pragma once

#include <cstdint>

#include "engine/core/String.h"

namespace zel {

// "9:05:00" with hour24; "0:05:07 am " / "1:04:09 pm " without (the hour 0
// stays 0, 12 stays 12; the suffix ends with a space).
String FormatClock(int32_t hour, int32_t minute, int32_t second, bool hour24);

// Where the clock text starts so that it ends at the right edge (screen
// fractions; glyphs 0.0375 wide).
float ClockTextX(int32_t length, bool hour24);

// The frame rate rounded up: 59.2 gives "60".
String FormatFps(double fps);

}  // namespace zel
