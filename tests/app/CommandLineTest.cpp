#include <gtest/gtest.h>

#include "app/RunMode.h"

namespace zel {
namespace {

struct CommandLineCase {
    const char* line;
    RunMode mode;
    intptr_t parent;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, GivesModeAndParent) {
    const CommandLine parsed = ParseCommandLine(GetParam().line);
    EXPECT_EQ(parsed.mode, GetParam().mode);
    EXPECT_EQ(parsed.parentWindow, GetParam().parent);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTest,
    ::testing::Values(
        CommandLineCase{"zel.scr", RunMode::kConfigure, 0},
        CommandLineCase{"", RunMode::kConfigure, 0},
        CommandLineCase{"zel.scr /c", RunMode::kConfigure, 0},
        CommandLineCase{"zel.scr /c:4242", RunMode::kConfigure, 4242},
        CommandLineCase{"\"C:\\Program Files\\my-saver -x\\zel.scr\" /p 5", RunMode::kPreview, 5},
        CommandLineCase{"zel.scr /p 1234", RunMode::kPreview, 1234},
        CommandLineCase{"zel.scr -P1234", RunMode::kPreview, 1234},
        CommandLineCase{"zel.scr /s", RunMode::kScreensaver, 0},
        CommandLineCase{"zel.scr /S", RunMode::kScreensaver, 0},
        CommandLineCase{"zel.scr /x", RunMode::kScreensaver, 0},
        CommandLineCase{"zel.scr /s 77", RunMode::kScreensaver, 0},
        CommandLineCase{"zel.scr /t", RunMode::kTest, 0},
        CommandLineCase{"zel.scr /a 99", RunMode::kPasswordChange, 99},
        CommandLineCase{"\"unterminated /p 3", RunMode::kConfigure, 0}));

TEST(CommandLineTest, NullLineIsConfigure) {
    EXPECT_EQ(ParseCommandLine(nullptr).mode, RunMode::kConfigure);
}

}  // namespace
}  // namespace zel
