// The internal modules: their table follows the engine's fixed order, their
// functions sit in the post-initialisation list in that order, and after
// start-up each is registered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/startup/EngineStartup.h"
#include "engine/resources/ModuleManager.h"

namespace zel {
namespace {

TEST(EngineStartupTest, TheTableFollowsTheFixedOrder) {
    const std::vector<std::string> order = {"DirectX9",       "BMPImageCodec", "JPGImageCodec", "TGAImageCodec",
                                            "CUBEImageCodec", "STRSceneCodec", "RAR2FileCodec"};
    size_t at = 0;
    for (int32_t i = 0; i < EngineStartup::GetInternalModuleCount(); ++i) {
        const std::string name = EngineStartup::GetInternalModule(i).name;
        while (at < order.size() && order[at] != name) ++at;
        ASSERT_LT(at, order.size()) << name << " is out of order or unknown";
        ++at;
    }
    EXPECT_GE(EngineStartup::GetInternalModuleCount(), 1);
}

TEST(EngineStartupTest, PostInitialisationRegistersThemInTableOrder) {
    const EngineFunctionArray* functions = GetPostInitFunctions();
    ASSERT_NE(functions, nullptr);
    int32_t at = 0;
    for (int32_t i = 0; i < EngineStartup::GetInternalModuleCount(); ++i) {
        EngineFunction wanted = EngineStartup::GetInternalModule(i).registerModule;
        while (at < functions->Count() && (*functions)[at] != wanted) ++at;
        ASSERT_LT(at, functions->Count()) << EngineStartup::GetInternalModule(i).name;
        ++at;
    }
    for (int32_t i = 0; i < EngineStartup::GetInternalModuleCount(); ++i)
        EXPECT_NE(FindModule(String(EngineStartup::GetInternalModule(i).name)), nullptr) << EngineStartup::GetInternalModule(i).name;
}

}  // namespace
}  // namespace zel
