// The internal modules, registered with the module manager by
// post-initialisation functions in this fixed order: "DirectX9",
// "BMPImageCodec", "JPGImageCodec", "TGAImageCodec", "CUBEImageCodec",
// "STRSceneCodec", "RAR2FileCodec". A module not built for the target is
// simply absent from the table.
//
// Adding an internal module:
//  1. In the module's own source, write its registration function, usually
//     one line: `int32_t RegisterXModule() { return
//     RegisterInternalCodecModule("X", &XCodec::Create); }` (a renderer
//     module uses RegisterInternalModule with "CreateRenderer").
//  2. Declare the function below.
//  3. Add {"X", &RegisterXModule} to the table in InternalModuleList.cpp at
//     its place in the order above, inside the target's #if when the module
//     is built for one target only.
#pragma once

#include <cstdint>

#include "engine/core/Engine.h"

namespace zel {

struct InternalModuleEntry {
    const char* name;
    EngineFunction registerModule;  // 0 registered; 1 failed
};

int32_t RegisterBMPImageCodecModule();
int32_t RegisterJPGImageCodecModule();
int32_t RegisterTGAImageCodecModule();
int32_t RegisterCUBEImageCodecModule();
int32_t RegisterSTRSceneCodecModule();
int32_t RegisterRAR2FileCodecModule();

class InternalModuleList {
public:
    // Places every entry's function in the post-initialisation list, in
    // table order, once.
    static bool RegisterFunctions();
    static int32_t GetCount();
    // index in 0..GetCount()-1.
    static const InternalModuleEntry& Get(int32_t index);
};

}  // namespace zel
