// The still parts of the harbour: sky, sea and pond, ground, quay, houses,
// lighthouse, windmill tower, trees and grass.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/scene/GeometryNode.h"
#include "engine/scene/SceneNode.h"

namespace zel {

class ShowAssets;

struct ShowWorld {
    Pointer<SceneNode> sky;      // drawn first, never shadowed
    Pointer<SceneNode> shadowed;  // everything the sun's shadows fall on
    Pointer<SceneNode> water;     // sea and pond
    Pointer<SceneNode> ground;    // the land and the shore
    Pointer<SceneNode> seabed;    // the ground below the sea's level
    Pointer<SceneNode> glows;     // flares, lens flares, lamp glows
    Pointer<Node> lighthouseLamp;
    Pointer<SceneNode> windmillHead;  // turns; its parent is the tower
    Pointer<SceneNode> windows;       // lit at dusk
    Pointer<Node> chimney;            // where the smoke rises
    Pointer<GeometryNode> meadow;     // invisible emitter surface by the pond
    Pointer<SceneNode> unseen;        // updated, never drawn: helper shapes
};

// 0 ok; 1 failed (reported through the assets).
int BuildWorld(ShowAssets& assets, ShowWorld& world);

// Puts the sea and pond with their reflection and refraction images and
// the nodes those images show. Call once the shadowed group is complete.
int BuildWater(ShowAssets& assets, ShowWorld& world);

}  // namespace zel
