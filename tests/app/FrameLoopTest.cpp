// The frame loop with a fake clock and a renderer whose device can be lost:
// a lost device holds the show still and silent, a short loss resumes where
// it stopped, a loss of five seconds ends the show.
#include <gtest/gtest.h>

#include <vector>

#include "app/FrameLoop.h"
#include "engine/core/Pointer.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

double gNowMs = 0.0;
double FakeTicks() { return gNowMs; }
void NoPause(uint32_t) {}

class FakeShow : public FrameLoop::Show {
public:
    bool IsRunning() const override { return running; }
    void Stop() override { running = false; }
    int32_t Update(double seconds) override {
        updates.push_back(seconds);
        return 0;
    }
    int32_t Render() override { return 0; }
    void DrawOverlay(double) override {}
    void OnFrameDrawn(uint32_t) override {}
    void OnFramePresented(uint32_t frame) override { presented = frame; }
    void SetSilent(bool on) override { silent = on; }

    bool running = true;
    bool silent = false;
    std::vector<double> updates;
    uint32_t presented = 0;
};

class FrameLoopTest : public ::testing::Test {
protected:
    FrameLoopTest() {
        gNowMs = 1000.0;
        loop.Start();
    }

    // One pass with the clock at `ms`.
    void PassAt(double ms) {
        gNowMs = ms;
        ASSERT_EQ(loop.RunFrame(), 0);
    }
    // Passes every 100 ms from `fromMs` to `toMs`, both included.
    void PassesFrom(double fromMs, double toMs) {
        for (double ms = fromMs; ms <= toMs + 0.5; ms += 100.0) PassAt(ms);
    }
    void LoseDevice(bool lost) { renderer->beginSceneResult = lost ? 1 : 0; }

    Pointer<test::RecordingRenderer> renderer = new test::RecordingRenderer();
    FakeShow show;
    FrameLoop loop{*renderer, show, &FakeTicks, &NoPause};
};

TEST_F(FrameLoopTest, ALostDeviceHoldsTheShowStillAndSilentAndEndsItAfterFiveSeconds) {
    PassAt(1100.0);
    ASSERT_EQ(show.presented, 1u);
    LoseDevice(true);
    PassAt(1200.0);  // this pass's update ran before the loss was seen
    const size_t updates = show.updates.size();
    PassesFrom(1300.0, 1200.0 + 4900.0);
    EXPECT_TRUE(show.running);
    EXPECT_TRUE(show.silent);
    EXPECT_EQ(show.updates.size(), updates);
    EXPECT_EQ(show.presented, 1u);
    EXPECT_EQ(renderer->Count("EndScene"), 1);
    PassAt(1200.0 + 5000.0);
    EXPECT_FALSE(show.running);
}

TEST_F(FrameLoopTest, ADeviceBackWithinTheLimitResumesWithoutAJump) {
    PassAt(1100.0);
    LoseDevice(true);
    PassesFrom(1200.0, 4200.0);
    LoseDevice(false);
    PassAt(4300.0);  // the recovered frame shows the scene as it stood
    EXPECT_TRUE(show.running);
    EXPECT_FALSE(show.silent);
    EXPECT_EQ(show.presented, 2u);
    PassAt(4400.0);
    ASSERT_FALSE(show.updates.empty());
    EXPECT_DOUBLE_EQ(show.updates.back(), 0.1);
    // A later loss gets its own five seconds.
    LoseDevice(true);
    PassesFrom(4500.0, 4500.0 + 4900.0);
    EXPECT_TRUE(show.running);
}

TEST_F(FrameLoopTest, NothingIsDrawnOnceInputHasEndedTheShow) {
    show.running = false;
    PassAt(1100.0);
    EXPECT_TRUE(show.updates.empty());
    EXPECT_EQ(renderer->Count("BeginScene"), 0);
}

}  // namespace
}  // namespace zel
