// Teardown of object graphs. Objects of a scene can link each other in
// cycles (a camera's target controller holding the target node, a director
// holding the cameras whose controllers it drives; a hostile file can link
// anything to anything it loaded before), which counting alone never
// frees. Cutting every link of every object reached breaks each such cycle,
// so the graph goes when its last outside reference does.
#pragma once

#include <cstdint>

namespace zel {

class Object;
class Stream;

// Cuts every counted link of every object reachable from `root` (Object's
// CutLinks), without recursion however deep the graph; objects no longer
// held are destroyed on the way. The objects still held from outside stay,
// without links. The number of links cut.
int32_t BreakObjectLinks(Object* root);

// The same for every object `stream` created while reading, reachable from
// a root or not: for a read that failed part way.
int32_t BreakCreatedObjects(Stream& stream);

}  // namespace zel
