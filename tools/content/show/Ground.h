// The harbour's ground: a height-field mesh in square tiles, with a colour
// map painted from the grass, sand, rock and stone pictures and a light map
// baked from the setting sun, with the hills' shadows.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/scene/SceneNode.h"

namespace zel {

class ShowAssets;

// The ground's two parts: the land and the shore's cells, which the view
// shows, and the seabed: the cells wholly below the sea's level, which only
// the sea's refraction image shows.
struct GroundNodes {
    Pointer<SceneNode> land;
    Pointer<SceneNode> seabed;
};

// 0 ok; 1 when something could not be made (reported).
int BuildGround(ShowAssets& assets, GroundNodes& ground);

}  // namespace zel
