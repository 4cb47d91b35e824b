// Arbitrary bytes as a scene file, with every engine class registered. What
// was read is saved again and torn down: objects linked in cycles (a
// controller attached to what it controls, an effect holding the node that
// draws it) must all be freed, which leak checking verifies.
#include <cstddef>
#include <cstdint>

#include "engine/core/Engine.h"
#include "engine/core/Object.h"
#include "engine/core/ObjectGraph.h"
#include "engine/core/SceneFile.h"
#include "engine/core/Stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zel::EngineInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    zel::Stream stream(static_cast<int32_t>(size), 0);
    stream.Write(data, static_cast<int32_t>(size));
    stream.Rewind();
    zel::Pointer<zel::Object> root;
    if (zel::ReadSceneFile(stream, root) == zel::kOk) {
        // Whatever was read can be searched (through its cycles too) and
        // must save again.
        zel::ObjectArray all;
        zel::CollectIn(root, zel::Object::TYPE, all);
        (void)zel::FindIn(root, zel::String("\x01"));  // only that it ends
        zel::Stream out(0, 4096);
        zel::WriteSceneFile(out, root);
        zel::BreakObjectLinks(root);
    }
    return 0;
}
