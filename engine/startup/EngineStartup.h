// The engine's fixed start-up order, in one place above every layer.
//
// EngineInitialize runs the initialisation functions, then the
// post-initialisation functions; EngineTerminate runs the termination
// functions, all in registration order. Engine classes register their own
// class-factory functions from static initialisers, in any order. The
// managers and the internal modules have a fixed order, and this is the one
// place that registers them, from one static initialiser:
//   managers (initialisation and termination): module, file, sound, codec,
//     input, font;
//   internal modules (post-initialisation): "DirectX9", "BMPImageCodec",
//     "JPGImageCodec", "TGAImageCodec", "CUBEImageCodec", "STRSceneCodec",
//     "RAR2FileCodec".
// The current renderer's release is registered ahead of the managers, so at
// termination the renderer (and the scene its camera may hold) goes before
// the registries it uses.
//
// Adding a manager or an internal module: give it a registration function
// (a manager gives static Initialize and Terminate, registered once by
// RegisterManagerFunctions; an internal
// module's post-initialisation function registers it with the module
// manager, e.g. RegisterCodecModule<T>) and put it in its slot in
// EngineStartup.cpp. A module not built for the target is absent from the
// table.
#pragma once

#include <cstdint>

#include "engine/core/Engine.h"

namespace zel {

struct ManagerEntry {
    const char* name;
    bool (*registerFunctions)();  // registers the manager's functions once
};

struct InternalModuleEntry {
    const char* name;
    EngineFunction registerModule;  // 0 registered; 1 failed
};

class EngineStartup {
public:
    // Registers the renderer release, every manager in order and every
    // internal module's post-initialisation function in order, once.
    static bool RegisterFunctions();

    static int32_t GetManagerCount();
    // index in 0..GetManagerCount()-1.
    static const ManagerEntry& GetManager(int32_t index);
    static int32_t GetInternalModuleCount();
    // index in 0..GetInternalModuleCount()-1.
    static const InternalModuleEntry& GetInternalModule(int32_t index);
};

}  // namespace zel
