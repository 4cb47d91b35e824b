// The font registry's start and stop: four lines in order, no fonts.
#include <gtest/gtest.h>

#include "engine/core/ClassFactory.h"
#include "engine/core/Log.h"
#include "engine/platform/Font.h"
#include "engine/platform/FontManager.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

TEST(FontManagerTest, StopAndStartLogTheirLinesWithTheRegistryEmpty) {
    EXPECT_EQ(FontManager::GetFontCount(), 0);
    test::LogCapture log;
    EXPECT_EQ(FontManager::Terminate(), kOk);
    EXPECT_EQ(FontManager::GetFontCount(), -1);
    EXPECT_EQ(FontManager::Initialize(), kOk);
    EXPECT_EQ(FontManager::GetFontCount(), 0);
    const char* expected[] = {
        "Завершение работы менеджера шрифтов.",
        "Менеджер шрифтов завершил работу.",
        "Инициализация менеджера шрифтов.",
        "Менеджер шрифтов инициализирован.",
    };
    ASSERT_EQ(log->lines.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(log->lines[i].level, kLogInfo);
        EXPECT_EQ(log->lines[i].text, expected[i]);
    }
}

TEST(FontManagerTest, FontHasItsTypeRecordButNoFactoryEntry) {
    EXPECT_STREQ(Font::TYPE.GetName().CStr(), "Zel.Font");
    EXPECT_TRUE(Font::TYPE.IsDerivedFrom(Object::TYPE));
    EXPECT_EQ(FindCreateFunction(Font::TYPE.GetName()), nullptr);
}

}  // namespace
}  // namespace zel
