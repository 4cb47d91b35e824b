// The show: the harbour at dusk with its sounds and camera shots, as the
// scene saved into "Main.STR".
#pragma once

#include "engine/core/Pointer.h"

namespace zel {

class SceneNode;
class ShowAssets;

// Builds the scene; the pictures it paints go into the assets' folder.
// Null when something could not be made (reported on standard error).
Pointer<SceneNode> BuildShowScene(ShowAssets& assets);

}  // namespace zel
