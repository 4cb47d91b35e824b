#include <gtest/gtest.h>

#include <string>

#include "app/MessageTable.h"

namespace zel {
namespace {

void Load(MessageTable& table, const std::string& text) {
    EXPECT_EQ(table.Load(text.data(), uint32_t(text.size())), 0);
}

TEST(MessageTableTest, AbsentKeyIsNull) {
    MessageTable table;
    Load(table, "Mes_Button_OK = OK\n");
    EXPECT_EQ(table.Get(String("Mes_Button_Cancel")), nullptr);
    EXPECT_STREQ(table.GetText("Mes_Button_Cancel", "Cancel"), "Cancel");
}

TEST(MessageTableTest, FirstOccurrenceWins) {
    MessageTable table;
    Load(table, "AppName = First\r\nAppName = Second\r\n");
    ASSERT_NE(table.Get(String("AppName")), nullptr);
    EXPECT_STREQ(table.Get(String("AppName"))->CStr(), "First");
    EXPECT_EQ(table.Count(), 1);
}

// Keys that share the engine hash's bucket (the first byte takes no part in
// it) are still told apart.
TEST(MessageTableTest, KeysDifferingInTheFirstByteStayApart) {
    MessageTable table;
    Load(table, "Ax = 1\nBx = 2\n");
    EXPECT_STREQ(table.GetText("Ax", ""), "1");
    EXPECT_STREQ(table.GetText("Bx", ""), "2");
}

}  // namespace
}  // namespace zel
