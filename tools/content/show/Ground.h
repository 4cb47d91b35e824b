// The harbour's ground: a height-field mesh in square tiles, with a colour
// map painted from the grass, sand, rock and stone pictures and a light map
// baked from the setting sun, with the hills' shadows.
#pragma once

#include "engine/core/Pointer.h"

namespace zel {

class ShowAssets;
class SceneNode;

// Null when something could not be made (reported).
Pointer<SceneNode> BuildGround(ShowAssets& assets);

}  // namespace zel
