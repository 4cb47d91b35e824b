#include <gtest/gtest.h>

#include "app/Fade.h"
#include "engine/animation/ScreensaverController.h"
#include "engine/core/Pointer.h"

namespace zel {
namespace {

struct FadeCase {
    const char* name;
    double elapsed, fadeInTime, duration;
    float opacity;
};

class FadeTest : public ::testing::TestWithParam<FadeCase> {};

TEST_P(FadeTest, Opacity) {
    const FadeCase& c = GetParam();
    EXPECT_NEAR(FadeOpacity(c.elapsed, c.fadeInTime, c.duration), c.opacity, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Cases, FadeTest,
    ::testing::Values(FadeCase{"HalfSecondBeforeEnd", 9.5, 2.0, 10.0, 0.5f},
                      FadeCase{"HalfSecondAfterFadeIn", 2.5, 2.0, 10.0, 0.5f},
                      FadeCase{"StartWithoutFadeInIsBlack", 0.0, 0.0, 10.0, 1.0f},
                      FadeCase{"BeforeFadeInIsOpaque", 1.0, 2.0, 10.0, 1.0f},
                      FadeCase{"MiddleIsClear", 5.0, 2.0, 10.0, 0.0f},
                      FadeCase{"AtEndIsBlack", 10.0, 2.0, 10.0, 1.0f}),
    [](const auto& info) { return info.param.name; });

TEST(FadeTest, NoControllerOrSetIsClear) {
    EXPECT_EQ(FadeOpacity(nullptr), 0.0f);
    Pointer<ScreensaverController> controller = new ScreensaverController();
    EXPECT_EQ(FadeOpacity(controller), 0.0f);
}

}  // namespace
}  // namespace zel
