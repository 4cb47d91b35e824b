// The animation controller's track: phase advance and wrap, frame choice,
// the two-frame weights, local phases per mode and the asymmetric bounds of
// stages 0 and 1, stage operations, and streaming.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/AnimationTestSupport.h"
#include "engine/animation/AnimationController.h"
#include "engine/animation/NodeAnimationController.h"
#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/scene/Camera.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::LogCapture;
using test::MakeFrame;
using test::MakeTranslationAnimation;
using test::StageTime;

// Keys every quarter, so a stage's local time can be read back exactly.
Pointer<NodeAnimation> Quarters(const char* name) {
    return MakeTranslationAnimation(name, {{0.0, {}}, {0.25, {}}, {0.5, {}}, {0.75, {}}});
}

// A controller with a period of one second, evaluated at `phase`.
void EvaluateAt(AnimationController& controller, double phase) {
    controller.SetTrackPeriod(1.0);
    controller.SetPhase(phase);
    controller.Update(0.0);
}

// --- Phase

TEST(AnimationController, PhaseWrapsOnTheFortiethQuarterSecondOfATenSecondTrack) {
    AnimationController controller;
    controller.SetTrackPeriod(10.0);
    for (int i = 0; i < 39; ++i) controller.Update(0.25);
    EXPECT_NEAR(controller.GetPhase(), 0.975, 1e-12);
    controller.Update(0.25);
    EXPECT_NEAR(controller.GetPhase(), 0.0, 1e-12);
    EXPECT_GE(controller.GetPhase(), 0.0);
}

TEST(AnimationController, LargeStepsKeepOnlyTheFraction) {
    AnimationController controller;
    controller.SetTrackPeriod(2.0);
    controller.Update(7.0);
    EXPECT_NEAR(controller.GetPhase(), 0.5, 1e-12);
}

TEST(AnimationController, ZeroPeriodHoldsThePhase) {
    AnimationController controller;
    EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("a"), 0.0, 1.0)), kOk);
    controller.SetPhase(0.3);
    controller.Update(1.0);
    EXPECT_EQ(controller.GetPhase(), 0.3);
    ASSERT_EQ(controller.GetStageCount(), 1);
    EXPECT_NEAR(StageTime(controller.GetStage(0)), 0.3, 1e-12);
}

TEST(AnimationController, InactiveControllerLeavesPhaseAndStagesAlone) {
    AnimationController controller;
    controller.SetTrackPeriod(1.0);
    EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("a"), 0.0, 1.0)), kOk);
    controller.SetActive(false);
    controller.Update(0.5);
    EXPECT_EQ(controller.GetPhase(), 0.0);
    EXPECT_EQ(controller.GetStageCount(), 0);
}

// --- Frames and stages

TEST(AnimationController, AWholeTrackLoopFrameGivesStageZeroThePhase) {
    AnimationController controller;
    Pointer<NodeAnimation> animation = Quarters("a");
    EXPECT_EQ(controller.AddFrame(MakeFrame(animation, 0.0, 1.0)), kOk);
    controller.SetTrackPeriod(1.0);
    controller.Update(0.3);
    ASSERT_EQ(controller.GetStageCount(), 1);
    EXPECT_EQ(controller.GetStage(0).animation.Get(), animation.Get());
    EXPECT_EQ(controller.GetStage(0).weight, 1.0f);
    EXPECT_NEAR(StageTime(controller.GetStage(0)), 0.3, 1e-12);
}

TEST(AnimationController, TheFirstFrameInFileOrderTakesStageZero) {
    AnimationController controller;
    Pointer<NodeAnimation> early = Quarters("early");
    Pointer<NodeAnimation> late = Quarters("late");
    EXPECT_EQ(controller.AddFrame(MakeFrame(early, 0.0, 0.5)), kOk);
    EXPECT_EQ(controller.AddFrame(MakeFrame(late, 0.5, 1.0)), kOk);
    EvaluateAt(controller, 0.25);
    EXPECT_EQ(controller.GetStage(0).animation.Get(), early.Get());
    EvaluateAt(controller, 0.75);
    EXPECT_EQ(controller.GetStage(0).animation.Get(), late.Get());
    EXPECT_EQ(controller.GetStageCount(), 1);
}

TEST(AnimationController, OverlappingFramesWeighByTheirOrderOnTheTrack) {
    struct Case {
        double aStart, aEnd, bStart, bEnd;  // A is first in the file
        double phase;
        float stage0, stage1;
    };
    const Case cases[] = {
        {0.0, 0.6, 0.4, 1.0, 0.5, 0.5f, 0.5f},    // B later: B fades in
        {0.0, 0.6, 0.4, 1.0, 0.55, 0.25f, 0.75f},
        {0.4, 1.0, 0.0, 0.6, 0.55, 0.75f, 0.25f}, // A later: A fades in
        {0.0, 1.0, 0.2, 0.8, 0.55, 0.5f, 0.5f},   // one inside the other
        {0.2, 0.8, 0.2, 0.8, 0.3, 0.5f, 0.5f},    // equal bounds
        {0.0, 0.5, 0.5, 1.0, 0.5, 0.5f, 0.5f},    // touching at one point: no division by zero
    };
    for (const Case& c : cases) {
        AnimationController controller;
        EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("a"), c.aStart, c.aEnd)), kOk);
        EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("b"), c.bStart, c.bEnd)), kOk);
        EvaluateAt(controller, c.phase);
        ASSERT_EQ(controller.GetStageCount(), 2);
        EXPECT_FLOAT_EQ(controller.GetStage(0).weight, c.stage0) << c.phase;
        EXPECT_FLOAT_EQ(controller.GetStage(1).weight, c.stage1) << c.phase;
    }
}

TEST(AnimationController, WeightsAreComputedInSinglePrecision) {
    AnimationController controller;
    EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("a"), 0.0, 0.6)), kOk);
    EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("b"), 0.4, 1.0)), kOk);
    EvaluateAt(controller, 0.55);
    const float w = (0.55f - 0.4f) / (0.6f - 0.4f);
    EXPECT_EQ(controller.GetStage(1).weight, w);
    EXPECT_EQ(controller.GetStage(0).weight, 1.0f - w);
}

TEST(AnimationController, LeavingTheOverlapEmptiesStageOne) {
    AnimationController controller;
    Pointer<NodeAnimation> a = Quarters("a");
    Pointer<NodeAnimation> b = Quarters("b");
    EXPECT_EQ(controller.AddFrame(MakeFrame(a, 0.0, 0.6)), kOk);
    EXPECT_EQ(controller.AddFrame(MakeFrame(b, 0.4, 1.0)), kOk);
    EvaluateAt(controller, 0.5);
    ASSERT_EQ(controller.GetStage(1).animation.Get(), b.Get());
    EvaluateAt(controller, 0.7);
    ASSERT_EQ(controller.GetStageCount(), 2);
    EXPECT_EQ(controller.GetStage(0).animation.Get(), b.Get());
    EXPECT_EQ(controller.GetStage(0).weight, 1.0f);
    EXPECT_EQ(controller.GetStage(1).animation.Get(), nullptr);
    EXPECT_EQ(controller.GetStage(1).weight, 0.0f);
}

TEST(AnimationController, OneFrameLeavesSetWeightsAlone) {
    AnimationController controller;
    EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("a"), 0.0, 1.0)), kOk);
    EvaluateAt(controller, 0.2);
    controller.SetStageWeight(0, 0.3f);
    EvaluateAt(controller, 0.4);
    EXPECT_EQ(controller.GetStage(0).weight, 0.3f);
}

TEST(AnimationController, OutsideEveryFrameTheStagesHoldTheirKeys) {
    AnimationController controller;
    EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("a"), 0.0, 0.5)), kOk);
    EvaluateAt(controller, 0.3);
    const double held = StageTime(controller.GetStage(0));
    EvaluateAt(controller, 0.8);
    EXPECT_EQ(StageTime(controller.GetStage(0)), held);
}

// --- Local phases and bounds

TEST(AnimationController, LocalPhasePerModeAndStageBounds) {
    struct Case {
        int32_t mode;
        double speed, offset, phase;
        double stage0, stage1;
    };
    const Case cases[] = {
        {AnimationFrame::kModeLoop, 2.0, 0.0, 0.7, 0.4, 0.4},
        {AnimationFrame::kModeLoop, 1.0, -0.3, 0.1, 0.8, 0.8},
        {AnimationFrame::kModePingPong, 2.0, 0.0, 0.7, 0.6, 0.6},   // odd pass runs back
        {AnimationFrame::kModePingPong, 3.0, 0.0, 0.7, 0.1, 0.1},   // even pass runs forward
        {AnimationFrame::kModePingPong, 1.0, -0.2, 0.1, 0.1, 0.1},  // pass −1 is odd
        {AnimationFrame::kModePingPong, 2.0, 0.0, 0.5, 0.0, 1.0},   // turning point 1: stage 0 restarts
        {AnimationFrame::kModeOnce, 1.0, 0.0, 0.5, 0.5, 0.5},
        {AnimationFrame::kModeOnce, 2.0, 0.0, 0.7, 0.0, 1.0},       // past the end: restart vs hold
        {AnimationFrame::kModeOnce, 1.0, -0.5, 0.2, 0.0, 0.0},      // before the start
        {7, 2.0, 0.0, 0.7, 0.0, 1.0},                               // unknown modes play once
    };
    for (const Case& c : cases) {
        AnimationController controller;
        EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("a"), 0.0, 1.0, c.mode, c.speed, c.offset)), kOk);
        EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("b"), 0.0, 1.0, c.mode, c.speed, c.offset)), kOk);
        EvaluateAt(controller, c.phase);
        ASSERT_EQ(controller.GetStageCount(), 2);
        EXPECT_NEAR(StageTime(controller.GetStage(0)), c.stage0, 1e-9)
            << "mode " << c.mode << " speed " << c.speed << " phase " << c.phase;
        EXPECT_NEAR(StageTime(controller.GetStage(1)), c.stage1, 1e-9)
            << "mode " << c.mode << " speed " << c.speed << " phase " << c.phase;
    }
}

TEST(AnimationController, LocalPhaseIsMeasuredFromTheFrameStart) {
    AnimationController controller;
    EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("a"), 0.2, 0.6, AnimationFrame::kModeOnce)), kOk);
    EvaluateAt(controller, 0.4);
    EXPECT_NEAR(StageTime(controller.GetStage(0)), 0.5, 1e-12);
}

TEST(AnimationController, ModeOnceRestartsStageZeroAfterItsEndButHoldsStageOne) {
    AnimationController controller;
    controller.SetTrackPeriod(1.0);
    EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("a"), 0.0, 1.0, AnimationFrame::kModeOnce, 2.0)), kOk);
    EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("b"), 0.0, 1.0, AnimationFrame::kModeOnce, 2.0)), kOk);
    controller.Update(0.45);
    EXPECT_NEAR(StageTime(controller.GetStage(0)), 0.9, 1e-9);
    EXPECT_NEAR(StageTime(controller.GetStage(1)), 0.9, 1e-9);
    for (int i = 0; i < 3; ++i) {
        controller.Update(0.1);
        EXPECT_EQ(StageTime(controller.GetStage(0)), 0.0);
        EXPECT_EQ(StageTime(controller.GetStage(1)), 1.0);
    }
}

TEST(AnimationController, ZeroLengthFrameTakesItsStageButHoldsItsKeys) {
    AnimationController controller;
    Pointer<NodeAnimation> animation = Quarters("a");
    EXPECT_EQ(controller.AddFrame(MakeFrame(animation, 0.5, 0.5)), kOk);
    EvaluateAt(controller, 0.5);
    ASSERT_EQ(controller.GetStageCount(), 1);
    EXPECT_EQ(controller.GetStage(0).animation.Get(), animation.Get());
    EXPECT_EQ(controller.GetStage(0).key, 0);
    EXPECT_EQ(controller.GetStage(0).fraction, 0.0);
}

// --- Stage operations

TEST(AnimationController, SetStageGrowsTheStagesAndKeepsTheKeyPair) {
    AnimationController controller;
    EXPECT_EQ(controller.AddFrame(MakeFrame(Quarters("a"), 0.0, 1.0)), kOk);
    EvaluateAt(controller, 0.6);
    const BlendStage before = controller.GetStage(0);
    Pointer<NodeAnimation> other = Quarters("other");
    ASSERT_EQ(controller.SetStage(other, 0, 0.25f), kOk);
    EXPECT_EQ(controller.GetStage(0).animation.Get(), other.Get());
    EXPECT_EQ(controller.GetStage(0).weight, 0.25f);
    EXPECT_EQ(controller.GetStage(0).key, before.key);
    EXPECT_EQ(controller.GetStage(0).fraction, before.fraction);

    ASSERT_EQ(controller.SetStage(other, 3, 0.5f), kOk);
    ASSERT_EQ(controller.GetStageCount(), 4);
    EXPECT_EQ(controller.GetStage(2).animation.Get(), nullptr);
    EXPECT_EQ(controller.GetStage(2).weight, 1.0f);
    EXPECT_EQ(controller.SetStage(other, -1, 0.5f), kInvalidArgument);
}

TEST(AnimationController, SetStageByNameTakesTheLastMatch) {
    AnimationController controller;
    Pointer<NodeAnimation> first = Quarters("walk");
    Pointer<NodeAnimation> second = Quarters("walk");
    EXPECT_EQ(controller.AddAnimation(first), kOk);
    EXPECT_EQ(controller.AddAnimation(Quarters("run")), kOk);
    EXPECT_EQ(controller.AddAnimation(second), kOk);
    ASSERT_EQ(controller.SetStageByName(String("walk"), 1, 0.75f), kOk);
    EXPECT_EQ(controller.GetStage(1).animation.Get(), second.Get());
    EXPECT_EQ(controller.GetStage(1).weight, 0.75f);

    ASSERT_EQ(controller.SetStageByName(String("swim"), 1, 0.5f), kOk);
    EXPECT_EQ(controller.GetStage(1).animation.Get(), nullptr);
    EXPECT_EQ(controller.GetStage(1).weight, 0.5f);
}

TEST(AnimationController, SetStageWeightNeedsAnExistingStage) {
    AnimationController controller;
    controller.SetStageWeight(0, 0.5f);
    EXPECT_EQ(controller.GetStageCount(), 0);
    controller.SetStage(nullptr, 0, 1.0f);
    controller.SetStageWeight(0, 0.5f);
    controller.SetStageWeight(-1, 0.1f);
    EXPECT_EQ(controller.GetStage(0).weight, 0.5f);
}

TEST(AnimationController, ResetDropsStagesAndRewinds) {
    AnimationController controller;
    Pointer<NodeAnimation> animation = Quarters("a");
    EXPECT_EQ(controller.AddFrame(MakeFrame(animation, 0.0, 1.0)), kOk);
    EvaluateAt(controller, 0.4);
    controller.Reset();
    EXPECT_EQ(controller.GetStageCount(), 0);
    EXPECT_EQ(controller.GetPhase(), 0.0);
    EXPECT_EQ(controller.GetFrameCount(), 1);
}

TEST(AnimationController, SearchVisitsTheControllerThenItsAnimations) {
    Pointer<AnimationController> controller = new NodeAnimationController();
    controller->SetName(String("track"));
    Pointer<NodeAnimation> a = Quarters("a");
    Pointer<NodeAnimation> b = Quarters("b");
    EXPECT_EQ(controller->AddAnimation(a), kOk);
    EXPECT_EQ(controller->AddAnimation(b), kOk);
    EXPECT_EQ(controller->FindByName(String("track")), controller.Get());
    EXPECT_EQ(controller->FindByName(String("b")), b.Get());
    EXPECT_EQ(controller->FindByName(String("c")), nullptr);
    ObjectArray found;
    controller->CollectByType(Object::TYPE, found);
    ASSERT_EQ(found.Count(), 3);
    EXPECT_EQ(found[0], controller.Get());
    EXPECT_EQ(found[1], a.Get());
    EXPECT_EQ(found[2], b.Get());
}

// --- Streaming

Pointer<NodeAnimationController> TwoFrameController() {
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    controller->SetName(String("track"));
    Pointer<NodeAnimation> a = Quarters("a");
    Pointer<NodeAnimation> b = Quarters("b");
    EXPECT_EQ(controller->AddAnimation(a), kOk);
    EXPECT_EQ(controller->AddAnimation(b), kOk);
    EXPECT_EQ(controller->AddFrame(MakeFrame(a, 0.0, 0.6, AnimationFrame::kModeOnce, 2.0, 0.25)), kOk);
    EXPECT_EQ(controller->AddFrame(MakeFrame(b, 0.4, 1.0, AnimationFrame::kModePingPong, 0.5, -0.5)), kOk);
    controller->SetTrackPeriod(12.5);
    controller->SetActive(false);
    return controller;
}

TEST(AnimationController, RoundTripKeepsAnimationsFramesAndPeriodButNotTheState) {
    Pointer<NodeAnimationController> controller = TwoFrameController();
    controller->SetActive(true);
    controller->Update(3.0);
    controller->SetActive(false);
    Pointer<NodeAnimationController> loaded = test::RoundTrip(controller.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(loaded->IsActive());
    EXPECT_EQ(loaded->GetTrackPeriod(), 12.5);
    EXPECT_EQ(loaded->GetPhase(), 0.0);
    EXPECT_EQ(loaded->GetStageCount(), 0);
    ASSERT_EQ(loaded->GetAnimationCount(), 2);
    ASSERT_EQ(loaded->GetFrameCount(), 2);
    for (int32_t i = 0; i < 2; ++i) {
        const AnimationFrame& expected = controller->GetFrame(i);
        const AnimationFrame& frame = loaded->GetFrame(i);
        EXPECT_EQ(frame.animation.Get(), loaded->GetAnimation(i));  // shared, not copied
        EXPECT_EQ(frame.start, expected.start);
        EXPECT_EQ(frame.end, expected.end);
        EXPECT_EQ(frame.mode, expected.mode);
        EXPECT_EQ(frame.speed, expected.speed);
        EXPECT_EQ(frame.offset, expected.offset);
    }
    EXPECT_STREQ(loaded->GetAnimation(1)->GetName().CStr(), "b");
}

TEST(AnimationController, SaveLayout) {
    Pointer<NodeAnimationController> controller = TwoFrameController();
    Stream stream(0, 1024);
    ASSERT_EQ(controller->Save(stream), 0);
    stream.Rewind();
    String name;
    int32_t controllers = -1, animations = -1, frames = -1, mode = -1;
    bool active = true;
    Pointer<Object> a, b, frameAnimation;
    double start = 0, end = 0, speed = 0, offset = 0, period = 0;
    stream.ReadString(name);
    stream.ReadInt32(controllers);
    stream.ReadBool(active);
    stream.ReadInt32(animations);
    stream.ReadLink(a);
    stream.ReadLink(b);
    stream.ReadInt32(frames);
    stream.ReadLink(frameAnimation);
    stream.ReadInt32(mode);
    stream.ReadDouble(start);
    stream.ReadDouble(end);
    stream.ReadDouble(speed);
    stream.ReadDouble(offset);
    ASSERT_EQ(stream.GetErrorState(), 0);
    EXPECT_STREQ(name.CStr(), "track");
    EXPECT_EQ(controllers, 0);
    EXPECT_FALSE(active);
    EXPECT_EQ(animations, 2);
    EXPECT_EQ(frames, 2);
    EXPECT_EQ(frameAnimation.Get(), a.Get());
    EXPECT_EQ(mode, AnimationFrame::kModeOnce);
    EXPECT_EQ(start, 0.0);
    EXPECT_EQ(end, 0.6);
    EXPECT_EQ(speed, 2.0);
    EXPECT_EQ(offset, 0.25);
    // The second frame, then the period closes the record.
    Pointer<Object> secondAnimation;
    stream.ReadLink(secondAnimation);
    EXPECT_EQ(secondAnimation.Get(), b.Get());
    stream.ReadInt32(mode);
    for (int i = 0; i < 4; ++i) stream.ReadDouble(start);
    stream.ReadDouble(period);
    EXPECT_EQ(period, 12.5);
    EXPECT_EQ(stream.GetErrorState(), 0);
}

TEST(AnimationController, EveryTruncationFails) { test::ExpectEveryTruncationFails(TwoFrameController()); }

TEST(AnimationController, BrokenFrameLogsTheFrameLineThenTheControllers) {
    // A frame whose animation link names a camera.
    Stream stream(0, 256);
    stream.WriteString(String("track"));
    stream.WriteInt32(0);  // controllers
    stream.WriteBool(true);
    stream.WriteInt32(0);  // animations
    stream.WriteInt32(1);  // frames
    Pointer<Camera> camera = new Camera();
    stream.WriteLink(camera);
    stream.WriteInt32(1);
    for (int i = 0; i < 5; ++i) stream.WriteDouble(0.5);
    stream.Rewind();
    Pointer<NodeAnimationController> target = new NodeAnimationController();
    LogCapture capture;
    EXPECT_EQ(target->Load(stream), kFailed);
    ASSERT_GE(capture->lines.size(), 2u);
    const size_t last = capture->lines.size() - 1;
    EXPECT_EQ(capture->lines[last - 1].text, "Невозможно загрузить анимацию фрейма анимации.");
    EXPECT_EQ(capture->lines[last].text,
              "Невозможно загрузить фрейм анимаций. Имя[track] ID[" + std::to_string(target->GetId()) + "]");
}

TEST(AnimationController, AnimationLinksOfAnotherClassAreRefused) {
    Stream stream(0, 256);
    stream.WriteString(String("wrong"));
    stream.WriteInt32(0);  // controllers
    stream.WriteBool(true);
    stream.WriteInt32(1);  // one "animation", which is a camera
    Pointer<Camera> camera = new Camera();
    stream.WriteLink(camera);
    stream.WriteInt32(0);
    stream.WriteDouble(1.0);
    stream.Rewind();
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    LogCapture capture;
    EXPECT_EQ(controller->Load(stream), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить анимацию. Имя[wrong] ID["));
}

TEST(AnimationController, HostileCountsAreRefused) {
    for (int32_t which = 0; which < 2; ++which) {
        Stream stream(0, 256);
        stream.WriteString(String("evil"));
        stream.WriteInt32(0);
        stream.WriteBool(true);
        stream.WriteInt32(which == 0 ? INT32_MAX : 0);
        if (which == 1) stream.WriteInt32(50000000);
        stream.WriteDouble(1.0);
        stream.Rewind();
        Pointer<NodeAnimationController> controller = new NodeAnimationController();
        LogCapture capture;
        EXPECT_EQ(controller->Load(stream), kFailed);
        EXPECT_TRUE(capture->Contains(kLogError, which == 0 ? "Невозможно загрузить количество анимаций. ID["
                                                            : "Невозможно загрузить количество фреймов анимаций. ID["));
    }
}

}  // namespace
}  // namespace zel
