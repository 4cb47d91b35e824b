#include "engine/core/ObjectGraph.h"

#include <utility>

#include "engine/core/Object.h"
#include "engine/core/Pointer.h"
#include "engine/core/Stream.h"

namespace zel {

namespace {

// The objects whose links are still to be cut, each held once per link that
// led to it. Popping one and cutting its links pushes what it held; it is
// released at the end of its turn, when it holds nothing any more, so a
// destruction never cascades.
int32_t CutFrom(ObjectHolder& pending) {
    int32_t cut = 0;
    while (!pending.IsEmpty()) {
        Pointer<Object> object = std::move(pending[pending.Count() - 1]);
        pending.RemoveAt(pending.Count() - 1);
        const int32_t before = pending.Count();
        object->CutLinks(pending);
        cut += pending.Count() - before;
    }
    return cut;
}

}  // namespace

int32_t BreakObjectLinks(Object* root) {
    ObjectHolder pending(256, 4096);
    if (root == nullptr || pending.Append(Pointer<Object>(root)) != kOk) return 0;
    return CutFrom(pending);
}

int32_t BreakCreatedObjects(Stream& stream) {
    int32_t cut = 0;
    for (int32_t i = 0; i < stream.GetCreatedCount(); ++i) cut += BreakObjectLinks(stream.GetCreated(i));
    return cut;
}

}  // namespace zel
