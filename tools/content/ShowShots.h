// The camera shots of the show and the director that cuts between them.
#pragma once

namespace zel {

class SceneNode;
class ShowAssets;
struct ShowLife;
struct ShowWorld;

// Adds "Camera01" … "Camera18" under `cameras` and the director to `root`.
// 0 ok; 1 failed.
int BuildShots(SceneNode& root, SceneNode& cameras, const ShowWorld& world, const ShowLife& life);

}  // namespace zel
