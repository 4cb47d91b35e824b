#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/TestHooks.h"

namespace zel {
namespace {

TestHooks Read(const std::map<std::string, std::string>& environment) {
    return TestHooks::Read([&](const char* name) -> const char* {
        auto found = environment.find(name);
        return found != environment.end() ? found->second.c_str() : nullptr;
    });
}

TEST(TestHooksTest, NoneSetChangesNothing) {
    const TestHooks hooks = Read({});
    EXPECT_FALSE(hooks.hasFixedStep || hooks.hasSeed || hooks.hasFrameLimit || hooks.hasPreviewHost || hooks.hasWindowed);
    EXPECT_FALSE(hooks.Captures(0));
}

TEST(TestHooksTest, ReadsEveryHook) {
    const TestHooks hooks = Read({{"ZEL_FIXED_STEP", "0.02"}, {"ZEL_SEED", "42"}, {"ZEL_FRAMES", "120"},
                                  {"ZEL_CAPTURE_DIR", "C:\\shots"}, {"ZEL_CAPTURE_FRAMES", "0,50,100"},
                                  {"ZEL_PREVIEW_HOST", "100,-20,320,240"}, {"ZEL_WINDOWED", "1024x768"}});
    EXPECT_DOUBLE_EQ(hooks.fixedStep, 0.02);
    EXPECT_EQ(hooks.seed, 42u);
    EXPECT_EQ(hooks.frameLimit, 120u);
    EXPECT_TRUE(hooks.Captures(0) && hooks.Captures(50) && hooks.Captures(100));
    EXPECT_FALSE(hooks.Captures(49));
    EXPECT_STREQ(hooks.CapturePath(50).CStr(), "C:\\shots\\frame-00050.bmp");
    EXPECT_TRUE(hooks.hasPreviewHost);
    EXPECT_EQ(hooks.previewHost, (WindowRect{100, -20, 420, 220}));
    EXPECT_TRUE(hooks.hasWindowed);
    EXPECT_EQ(hooks.windowedWidth, 1024);
    EXPECT_EQ(hooks.windowedHeight, 768);
}

struct BadCase {
    const char* name;
    const char* value;
};

class BadHookTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadHookTest, IsIgnored) {
    const TestHooks hooks = Read({{GetParam().name, GetParam().value}, {"ZEL_CAPTURE_DIR", "C:\\x\\"}});
    EXPECT_FALSE(hooks.hasFixedStep || hooks.hasSeed || hooks.hasFrameLimit || hooks.hasPreviewHost ||
                 hooks.hasWindowed);
    EXPECT_TRUE(hooks.captureFrames.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, BadHookTest,
    ::testing::Values(BadCase{"ZEL_FIXED_STEP", "fast"}, BadCase{"ZEL_FIXED_STEP", "-1"},
                      BadCase{"ZEL_FIXED_STEP", ""}, BadCase{"ZEL_SEED", "-3"}, BadCase{"ZEL_SEED", "12x"},
                      BadCase{"ZEL_FRAMES", "99999999999"}, BadCase{"ZEL_CAPTURE_FRAMES", "5,,6"},
                      BadCase{"ZEL_CAPTURE_FRAMES", "a"}, BadCase{"ZEL_PREVIEW_HOST", "1,2,3"},
                      BadCase{"ZEL_PREVIEW_HOST", "1,2,3,4,5"}, BadCase{"ZEL_PREVIEW_HOST", "0,0,0,10"},
                      BadCase{"ZEL_PREVIEW_HOST", "0,0,10,-1"}, BadCase{"ZEL_PREVIEW_HOST", "x,0,10,10"},
                      BadCase{"ZEL_PREVIEW_HOST", "0, 0,10,10"}, BadCase{"ZEL_WINDOWED", "1024"},
                      BadCase{"ZEL_WINDOWED", "0x768"}, BadCase{"ZEL_WINDOWED", "1024x"},
                      BadCase{"ZEL_WINDOWED", "1024X768"}, BadCase{"ZEL_WINDOWED", "-5x10"},
                      BadCase{"ZEL_WINDOWED", "20000x10"}));

TEST(TestHooksTest, CaptureFramesNeedADirectory) {
    EXPECT_TRUE(Read({{"ZEL_CAPTURE_FRAMES", "1"}}).captureFrames.empty());
}

}  // namespace
}  // namespace zel
