// Arbitrary bytes as a scene file, with every engine class registered.
#include <cstddef>
#include <cstdint>

#include "engine/core/Engine.h"
#include "engine/core/Object.h"
#include "engine/core/SceneFile.h"
#include "engine/core/Stream.h"

// Objects hold each other through counted links (targets, animations,
// linked controllers), so a hostile file can build a reference cycle that is
// never freed. That is a known limit of the object model, not a memory error;
// leak checking is off for this target so the run reports real faults only.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }

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
        // Whatever was read must save again.
        zel::Stream out(0, 4096);
        zel::WriteSceneFile(out, root);
    }
    return 0;
}
