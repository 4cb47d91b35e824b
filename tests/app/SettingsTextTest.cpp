#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/SettingsText.h"

namespace zel {
namespace {

std::vector<std::pair<std::string, std::string>> Lines(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> lines;
    ForEachSettingsLine(text.data(), static_cast<uint32_t>(text.size()), [&](const SettingsLine& line) {
        lines.emplace_back(line.key.CStr(), line.value.CStr());
        return true;
    });
    return lines;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

struct SettingsTextCase {
    const char* name;
    std::string text;
    Pairs expected;
};

class SettingsTextTest : public ::testing::TestWithParam<SettingsTextCase> {};

TEST_P(SettingsTextTest, SplitsLines) { EXPECT_EQ(Lines(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Cases, SettingsTextTest,
    ::testing::Values(
        SettingsTextCase{"TrailingComment", "Volume = 50; \xC3\xF0\xEE\xEC\xEA\xEE\xF1\xF2\xFC", {{"Volume", "50"}}},
        SettingsTextCase{"Flag", "Hour24 = 1", {{"Hour24", "1"}}},
        SettingsTextCase{"CommentLine", "; \xCF\xEE\xEB\xFC\xE7\xEE\xE2\xE0\xF2\xE5\xEB\xFC\r\nShowFPS = 0", {{"ShowFPS", "0"}}},
        SettingsTextCase{"AllLineEnds", "A = 1\rB = 2\nC = 3\r\n\r\nD = 4", {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}}},
        SettingsTextCase{"VerbatimValue", "RegistryPath = Software\\\\Zel ;x", {{"RegistryPath", "Software\\\\Zel "}}},
        SettingsTextCase{"FirstSeparatorSplits", "Mes = a = b", {{"Mes", "a = b"}}},
        SettingsTextCase{"NoSeparator", "Volume=50", {{"", ""}}},
        SettingsTextCase{"Empty", "", {}}),
    [](const auto& info) { return info.param.name; });

TEST(SettingsTextTest, StopsWhenVisitorRefuses) {
    const std::string text = "A = 1\nB = 2\n";
    int visited = 0;
    EXPECT_FALSE(ForEachSettingsLine(text.data(), uint32_t(text.size()), [&](const SettingsLine&) {
        ++visited;
        return false;
    }));
    EXPECT_EQ(visited, 1);
}

}  // namespace
}  // namespace zel
