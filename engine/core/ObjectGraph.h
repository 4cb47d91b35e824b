// Teardown of a loaded object graph. Objects of a scene can link each other
// in cycles (a camera's target controller holding the target node, a
// director holding the cameras whose controllers it drives), which counting
// alone never frees. Cutting every controller off its owner breaks each
// such cycle, so the graph goes when its last outside reference does.
#pragma once

#include <cstdint>

namespace zel {

class Object;

// Detaches every controller of every object reachable from `root`; the
// objects stay held until all are detached. The number of objects visited.
int32_t BreakObjectLinks(Object* root);

}  // namespace zel
