// The dusk sky shared by the show's textures and the application's
// pictures, so the loading screen matches the show.
#pragma once

#include "tools/content/picture/Canvas.h"

namespace zel {

// The clear sky at an elevation from 0 (horizon: warm orange) through pink
// to 1 (zenith: deep blue-violet).
Colour DuskSky(float elevation);

// Soft streaky clouds low over the horizon, 0..1; `u` runs once around
// the horizon and the layer wraps there.
float CloudDensity(float u, float elevation);

// The sky with its clouds, lit from below by the set sun. `step` is about
// one pixel in elevation, for the lighting of the clouds' undersides.
Colour DuskCloudySky(float u, float elevation, float step);

// The sun's warm haze over `sky` at `distance` from the sun (in sky heights).
Colour SunHaze(Colour sky, float distance);

}  // namespace zel
