// The internal modules: their table follows the engine's fixed order, their
// functions sit in the post-initialisation list in that order, and after
// start-up each is registered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/resources/InternalModuleList.h"
#include "engine/resources/ModuleManager.h"

namespace zel {
namespace {

TEST(InternalModuleListTest, TheTableFollowsTheFixedOrder) {
    const std::vector<std::string> order = {"DirectX9",       "BMPImageCodec", "JPGImageCodec", "TGAImageCodec",
                                            "CUBEImageCodec", "STRSceneCodec", "RAR2FileCodec"};
    size_t at = 0;
    for (int32_t i = 0; i < InternalModuleList::GetCount(); ++i) {
        const std::string name = InternalModuleList::Get(i).name;
        while (at < order.size() && order[at] != name) ++at;
        ASSERT_LT(at, order.size()) << name << " is out of order or unknown";
        ++at;
    }
    EXPECT_GE(InternalModuleList::GetCount(), 1);
}

TEST(InternalModuleListTest, PostInitialisationRegistersThemInTableOrder) {
    const EngineFunctionArray* functions = GetPostInitFunctions();
    ASSERT_NE(functions, nullptr);
    int32_t at = 0;
    for (int32_t i = 0; i < InternalModuleList::GetCount(); ++i) {
        EngineFunction wanted = InternalModuleList::Get(i).registerModule;
        while (at < functions->Count() && (*functions)[at] != wanted) ++at;
        ASSERT_LT(at, functions->Count()) << InternalModuleList::Get(i).name;
        ++at;
    }
    for (int32_t i = 0; i < InternalModuleList::GetCount(); ++i)
        EXPECT_NE(FindModule(String(InternalModuleList::Get(i).name)), nullptr) << InternalModuleList::Get(i).name;
}

}  // namespace
}  // namespace zel
