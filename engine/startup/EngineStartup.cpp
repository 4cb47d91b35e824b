#include "engine/startup/EngineStartup.h"

#include "engine/platform/FontManager.h"
#include "engine/platform/InputManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/RendererModule.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/InternalModule.h"
#include "engine/resources/ModuleManager.h"
#include "engine/resources/STRSceneCodec.h"
#include "engine/resources/image/BMPImageCodec.h"
#include "engine/resources/image/CUBEImageCodec.h"
#include "engine/resources/image/JPGImageCodec.h"
#include "engine/resources/image/TGAImageCodec.h"
#include "engine/resources/rar/RAR2FileCodec.h"
#include "engine/sound/SoundManager.h"

namespace zel {

namespace {

const ManagerEntry kManagers[] = {
    {"ModuleManager", &RegisterManagerFunctions<ModuleManager>},
    {"FileManager", &RegisterManagerFunctions<FileManager>},
    {"SoundManager", &RegisterManagerFunctions<SoundManager>},
    {"CodecManager", &RegisterManagerFunctions<CodecManager>},
    {"InputManager", &RegisterManagerFunctions<InputManager>},
    {"FontManager", &RegisterManagerFunctions<FontManager>},
};

const InternalModuleEntry kInternalModules[] = {
    {kDirectX9ModuleName, &RegisterDirectX9Module},
    {BMPImageCodec::kModuleName, &RegisterCodecModule<BMPImageCodec>},
    {JPGImageCodec::kModuleName, &RegisterCodecModule<JPGImageCodec>},
    {TGAImageCodec::kModuleName, &RegisterCodecModule<TGAImageCodec>},
    {CUBEImageCodec::kModuleName, &RegisterCodecModule<CUBEImageCodec>},
    {STRSceneCodec::kModuleName, &RegisterCodecModule<STRSceneCodec>},
    {RAR2FileCodec::kModuleName, &RegisterCodecModule<RAR2FileCodec>},
};

template <class T, int32_t N>
constexpr int32_t CountOf(const T (&)[N]) {
    return N;
}

bool gFunctionsRegistered = false;

}  // namespace

bool EngineStartup::RegisterFunctions() {
    if (gFunctionsRegistered) return true;
    RegisterRendererTermination();
    for (const ManagerEntry& entry : kManagers) entry.registerFunctions();
    for (const InternalModuleEntry& entry : kInternalModules) RegisterPostInitFunction(entry.registerModule);
    gFunctionsRegistered = true;
    return true;
}

int32_t EngineStartup::GetManagerCount() { return CountOf(kManagers); }

const ManagerEntry& EngineStartup::GetManager(int32_t index) { return kManagers[index]; }

int32_t EngineStartup::GetInternalModuleCount() { return CountOf(kInternalModules); }

const InternalModuleEntry& EngineStartup::GetInternalModule(int32_t index) { return kInternalModules[index]; }

// The one static initialiser of the start-up order. Managers only need to
// come in order among themselves, so where this falls among the classes'
// own static registrations does not matter.
[[maybe_unused]] static const bool gEngineStartupRegistered = EngineStartup::RegisterFunctions();

}  // namespace zel
