// The camera shots of the show and the director that cuts between them.
#pragma once

namespace zel {

class SceneNode;
struct ShowLife;

// Adds "Camera01" … "Camera18" under `cameras` and the director to `root`.
// 0 ok; 1 failed.
int BuildShots(SceneNode& root, SceneNode& cameras, const ShowLife& life);

}  // namespace zel
