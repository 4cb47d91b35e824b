// The font registry's life and the font class's type record.
#include <gtest/gtest.h>

#include "engine/core/ClassFactory.h"
#include "engine/platform/Font.h"
#include "engine/platform/FontManager.h"

namespace zel {
namespace {

// The boot test checks the four start and stop lines in order.
TEST(FontManagerTest, TheRegistryIsThereOnlyWhileTheManagerRuns) {
    EXPECT_EQ(FontManager::GetFontCount(), 0);
    FontManager::Terminate();
    EXPECT_EQ(FontManager::GetFontCount(), -1);
    EXPECT_EQ(FontManager::Initialize(), kOk);
    EXPECT_EQ(FontManager::GetFontCount(), 0);
}

TEST(FontManagerTest, FontHasItsTypeRecordButNoFactoryEntry) {
    EXPECT_STREQ(Font::TYPE.GetName().CStr(), "Zel.Font");
    EXPECT_TRUE(Font::TYPE.IsDerivedFrom(Object::TYPE));
    EXPECT_EQ(FindCreateFunction(Font::TYPE.GetName()), nullptr);
}

}  // namespace
}  // namespace zel
