// The show: the harbour at dusk with its sounds and camera shots, as the
// scene saved into "Main.STR".
#pragma once

#include "engine/core/Pointer.h"

namespace zel {

class SceneNode;
class ShowAssets;

// The evening haze over everything but the sky and the glows: each
// vertex keeps 1 / e^((kHazeDensity · depth)^kHazeExponent) of its colour,
// depth being its distance along the view direction.
constexpr float kHazeDensity = 0.0012f;
constexpr float kHazeExponent = 2.0f;

// Builds the scene; the pictures it paints go into the assets' folder.
// Null when something could not be made (reported on standard error).
Pointer<SceneNode> BuildShowScene(ShowAssets& assets);

}  // namespace zel
