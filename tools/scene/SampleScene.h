// A small scene built in code with the engine's classes: a root, a camera,
// a light and a group of two triangle nodes that share their buffers and
// their effect. `zel-scene sample` writes it; the tool's own test dumps it.
#pragma once

#include "engine/core/Pointer.h"

namespace zel {

class SceneNode;

// Null when memory runs out.
Pointer<SceneNode> BuildSampleScene();

}  // namespace zel
