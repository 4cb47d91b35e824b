#include <gtest/gtest.h>

#include "app/FpsCounter.h"
#include "app/Timer.h"

namespace zel {
namespace {

double gNow = 0.0;
double FakeTimerTicks() { return gNow; }

TEST(TimerTest, DeltaIsSecondsSinceLastRead) {
    gNow = 1000.0;
    Timer timer(&FakeTimerTicks);
    timer.Start();
    gNow = 1016.0;
    EXPECT_DOUBLE_EQ(timer.Delta(), 0.016);
    gNow = 1050.0;
    EXPECT_DOUBLE_EQ(timer.Delta(), 0.034);
    EXPECT_DOUBLE_EQ(timer.Delta(), 0.0);
}

TEST(FpsCounterTest, MeasuresAfterMoreThanOneSecondAndCarriesTheRest) {
    FpsCounter counter;
    for (int i = 0; i < 10; ++i) counter.AddFrame(0.1);
    EXPECT_EQ(counter.GetFps(), 0.0);  // exactly one second is not more than one
    counter.AddFrame(0.1);
    EXPECT_NEAR(counter.GetFps(), 11 / 1.1, 1e-9);
    // 0.1 s carried: four frames of 0.25 s are measured over 1.1 s.
    for (int i = 0; i < 4; ++i) counter.AddFrame(0.25);
    EXPECT_NEAR(counter.GetFps(), 4 / 1.1, 1e-9);
}

}  // namespace
}  // namespace zel
