// Teardown of object graphs. Objects of a scene can link each other in
// cycles (a camera's target controller holding the target node, a director
// holding the cameras whose controllers it drives; a hostile file can link
// anything to anything it loaded before), which counting alone never
// frees. Dropping every link of every object reached breaks each such
// cycle, so the graph goes when its last outside reference does.
#pragma once

#include <cstdint>

namespace zel {

class Object;
class Stream;

// Drops every counted link of every object reachable from `root` (through
// VisitLinks), without recursion however deep the graph; objects no longer
// held are destroyed on the way. Objects still held from outside stay,
// without links. The number of links dropped.
int32_t BreakObjectLinks(Object* root);

// For every object `stream` created while reading that `root` (null: none)
// does not reach, drops its own links: a read that failed part way leaves
// all of them so, and a read that succeeded those its loaders let go (a
// node's parent link is read only for the layout), which may hold each
// other in cycles. The objects reached stay intact. The number of links
// dropped.
int32_t BreakUnreachedObjects(Stream& stream, Object* root);

}  // namespace zel
