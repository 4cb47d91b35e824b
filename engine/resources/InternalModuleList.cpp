#include "engine/resources/InternalModuleList.h"

namespace zel {

namespace {

const InternalModuleEntry kInternalModules[] = {
    {"BMPImageCodec", &RegisterBMPImageCodecModule},
    {"JPGImageCodec", &RegisterJPGImageCodecModule},
    {"TGAImageCodec", &RegisterTGAImageCodecModule},
    {"CUBEImageCodec", &RegisterCUBEImageCodecModule},
    {"STRSceneCodec", &RegisterSTRSceneCodecModule},
    {"RAR2FileCodec", &RegisterRAR2FileCodecModule},
};

constexpr int32_t kInternalModuleCount = static_cast<int32_t>(sizeof kInternalModules / sizeof kInternalModules[0]);

bool gFunctionsRegistered = false;

}  // namespace

bool InternalModuleList::RegisterFunctions() {
    if (!gFunctionsRegistered) {
        for (const InternalModuleEntry& entry : kInternalModules) RegisterPostInitFunction(entry.registerModule);
        gFunctionsRegistered = true;
    }
    return true;
}

int32_t InternalModuleList::GetCount() { return kInternalModuleCount; }

const InternalModuleEntry& InternalModuleList::Get(int32_t index) { return kInternalModules[index]; }

// Post-initialisation runs after every initialisation function, so where
// this registration falls among the static initialisers does not matter.
[[maybe_unused]] static const bool gInternalModulesRegistered = InternalModuleList::RegisterFunctions();

}  // namespace zel
