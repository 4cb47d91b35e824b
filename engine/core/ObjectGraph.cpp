#include "engine/core/ObjectGraph.h"

#include "engine/core/GrowableArray.h"
#include "engine/core/Object.h"
#include "engine/core/Pointer.h"

namespace zel {

int32_t BreakObjectLinks(Object* root) {
    if (root == nullptr) return 0;
    ObjectArray found(64, 64);
    root->CollectByType(Object::TYPE, found);
    // Held while detaching: a controller let go may be the last holder of
    // objects still to be visited.
    GrowableArray<Pointer<Object>> held(found.Count() > 0 ? found.Count() : 1, 64);
    for (int32_t i = 0; i < found.Count(); ++i) held.Append(Pointer<Object>(found[i]));
    for (int32_t i = 0; i < held.Count(); ++i) held[i]->DetachAllControllers();
    return held.Count();
}

}  // namespace zel
