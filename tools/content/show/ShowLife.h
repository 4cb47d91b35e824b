// What moves and sounds in the harbour: the car on the coast road, the boat,
// the windmill's sails, the flag, smoke, spray and fireflies, the window
// lights, the music and the sounds of the sea, the gulls and the bell.
#pragma once

#include "engine/animation/AnimationController.h"
#include "engine/core/Pointer.h"
#include "engine/scene/SceneNode.h"

namespace zel {

class ShowAssets;
struct ShowWorld;

struct ShowLife {
    Pointer<Node> car;
    Pointer<Node> boat;
    Pointer<Node> flag;
    // Lights the windows; switched on by the village shot.
    Pointer<AnimationController> windowLights;
    Pointer<SceneNode> sounds;
};

// Adds the moving parts to the world's groups. 0 ok; 1 failed.
int BuildLife(ShowAssets& assets, ShowWorld& world, ShowLife& life);

}  // namespace zel
