// The tools' terminal output: Windows-1251 bytes become UTF-8.
#include <gtest/gtest.h>

#include "tools/common/Cp1251Text.h"

namespace zel {
namespace {

TEST(Cp1251Text, ConvertsEveryRange) {
    // Expected texts as u8 literals: plain ones are compiled to Windows-1251.
    const struct {
        const char* cp1251;
        const char8_t* utf8;
    } cases[] = {
        {"", u8""},
        {"Main.STR [3]", u8"Main.STR [3]"},                                         // ASCII unchanged
        {"\xC8\xED\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xFF", u8"Инициализация"},  // the letters' block
        {"\xC0\xDF\xE0\xFF", u8"АЯая"},                                             // its ends
        {"\xA8\xB8\xB9", u8"Ёё№"},                                                  // the upper half's table
        {"\x85\x96\x97\xAB\xBB", u8"…–—«»"},
        {"\x98", u8"\uFFFD"},  // unassigned: U+FFFD
    };
    for (const auto& c : cases) {
        const std::string expected(reinterpret_cast<const char*>(c.utf8));
        EXPECT_EQ(Cp1251ToUtf8(c.cp1251), expected) << expected;
    }
    EXPECT_EQ(Cp1251ToUtf8(nullptr), "");
}

}  // namespace
}  // namespace zel
