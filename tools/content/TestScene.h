// The small scene the screensaver plays until the real show is made: three
// coloured panels and a textured one, two cameras under a
// ScreensaverController, and the "Music" and "Car" sound nodes.
#pragma once

#include "engine/core/Pointer.h"

namespace zel {

class SceneNode;

// The textured panel shows this file of the same archive.
constexpr const char* kTestSceneTexture = "checker.tga";

// Null when memory runs out.
Pointer<SceneNode> BuildTestScene();

}  // namespace zel
