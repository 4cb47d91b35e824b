#include <gtest/gtest.h>

#include "app/CarSound.h"
#include "app/OverlayText.h"

namespace zel {
namespace {

struct ClockCase {
    int hour, minute, second;
    bool hour24;
    const char* text;
};

class ClockTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockTest, Formats) {
    const ClockCase& c = GetParam();
    EXPECT_STREQ(FormatClock(c.hour, c.minute, c.second, c.hour24).CStr(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClockTest,
    ::testing::Values(ClockCase{0, 5, 7, false, "0:05:07 am "}, ClockCase{12, 30, 0, false, "12:30:00 pm "},
                      ClockCase{13, 4, 9, false, "1:04:09 pm "}, ClockCase{11, 59, 59, false, "11:59:59 am "},
                      ClockCase{9, 5, 0, true, "9:05:00"}, ClockCase{23, 10, 10, true, "23:10:10"}));

TEST(ClockTest, TextEndsNearTheRightEdge) {
    EXPECT_FLOAT_EQ(ClockTextX(7, true), 1.0f - 7 * 0.0375f - 0.01875f);
    EXPECT_FLOAT_EQ(ClockTextX(11, false), 1.0f - 11 * 0.0375f + 0.01875f);
}

struct FpsCase {
    double fps;
    const char* text;
};

class FpsTextTest : public ::testing::TestWithParam<FpsCase> {};

TEST_P(FpsTextTest, RoundsUp) { EXPECT_STREQ(FormatFps(GetParam().fps).CStr(), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Cases, FpsTextTest,
    ::testing::Values(FpsCase{59.2, "60"}, FpsCase{60.0, "60"}, FpsCase{0.0, "0"}, FpsCase{0.01, "1"}));

struct CarCase {
    const char* camera;
    bool silent;
};

class CarSoundTest : public ::testing::TestWithParam<CarCase> {};

TEST_P(CarSoundTest, SilentOnlyUnderListedCameras) {
    EXPECT_EQ(IsCarSilentUnder(String(GetParam().camera)), GetParam().silent);
}

INSTANTIATE_TEST_SUITE_P(Cases, CarSoundTest,
    ::testing::Values(CarCase{"Camera11", true}, CarCase{"Camera03", true}, CarCase{"Camera18", true},
                      CarCase{"Camera01", false}, CarCase{"camera11", false}, CarCase{"Camera1", false},
                      CarCase{"", false}));

}  // namespace
}  // namespace zel
