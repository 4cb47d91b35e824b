// The black fade around camera changes: opaque until the set's fade-in
// time, clearing during the second after it, darkening again during the
// last second of the set.
#pragma once

namespace zel {

class ScreensaverController;

// The fade's opacity for a set `elapsed` seconds in.
float FadeOpacity(double elapsed, double fadeInTime, double duration);

// The opacity for the controller's current set; 0 without a controller or
// a current set.
float FadeOpacity(const ScreensaverController* controller);

}  // namespace zel
