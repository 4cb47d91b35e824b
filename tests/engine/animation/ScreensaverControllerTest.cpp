// The screensaver controller: choosing sets with the history rules for 1, 2
// and 6 sets, durations from the camera and target animations, the switch
// with its overshoot and phase correction, the renderer's camera, the
// controllers derived on load, and streaming.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "support/AnimationTestSupport.h"
#include "support/CurrentRenderer.h"
#include "engine/animation/CameraActivateAnimationController.h"
#include "engine/animation/NodeAnimationController.h"
#include "engine/animation/ScreensaverController.h"
#include "engine/animation/TargetCameraController.h"
#include "engine/core/Log.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

Pointer<NodeAnimationController> PeriodTrack(Object* owner, double period) {
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    controller->SetTrackPeriod(period);
    owner->AttachController(controller);
    return controller;
}

// A director over `count` cameras, camera i animated with a period of
// periods[i] (0: no animation; the set keeps the duration 1.5).
struct Show {
    explicit Show(std::vector<double> periods) : director(new ScreensaverController()) {
        for (size_t i = 0; i < periods.size(); ++i) {
            Pointer<Camera> camera = new Camera(String(std::to_string(i).c_str()));
            cameras.push_back(camera);
            animations.push_back(periods[i] > 0 ? PeriodTrack(camera, periods[i]) : nullptr);
        }
        for (Camera* camera : cameras) EXPECT_EQ(director->AddSet(camera, 0.5, 1.5), kOk);
    }
    test::CurrentRenderer renderer;
    std::vector<Pointer<Camera>> cameras;
    std::vector<Pointer<NodeAnimationController>> animations;
    Pointer<ScreensaverController> director;
};

// --- Choosing

TEST(ScreensaverController, WithoutSetsNothingHappens) {
    Show show({});
    Pointer<Camera> mine = new Camera();
    show.renderer->SetCamera(mine);
    show.director->ChooseNextSet();
    show.director->Update(100.0);
    show.director->Reset();
    EXPECT_EQ(show.director->GetCurrent(), -1);
    EXPECT_EQ(show.director->GetElapsed(), 0.0);
    EXPECT_EQ(show.renderer->GetCamera(), mine.Get());
}

TEST(ScreensaverController, UpdateWaitsForTheFirstChoice) {
    Show show({0, 0});
    show.director->Update(10.0);
    EXPECT_EQ(show.director->GetCurrent(), -1);
    EXPECT_EQ(show.director->GetElapsed(), 0.0);
}

TEST(ScreensaverController, OneSetIsChosenAgainAndItsAnimationRestarts) {
    Show show({4.0});
    std::srand(1);
    show.director->ChooseNextSet();
    EXPECT_EQ(show.director->GetCurrent(), 0);
    EXPECT_EQ(show.director->GetHistorySize(), 1);
    EXPECT_EQ(show.director->GetSet(0).duration, 4.0);
    for (int shot = 0; shot < 3; ++shot) {
        show.animations[0]->SetPhase(0.9);
        show.director->Update(4.0);
        EXPECT_EQ(show.director->GetCurrent(), 0);
        EXPECT_EQ(show.director->GetElapsed(), 0.0);
        // Reset, then put back by the whole step, which its own update this
        // frame adds again: it restarts at 0.
        EXPECT_EQ(show.animations[0]->GetPhase(), -1.0);
        show.animations[0]->Update(4.0);
        EXPECT_EQ(show.animations[0]->GetPhase(), 0.0);
    }
}

TEST(ScreensaverController, TwoSetsMayRepeatTheLastChoice) {
    Show show({0, 0});
    std::srand(2);
    std::vector<int32_t> chosen;
    for (int i = 0; i < 200; ++i) {
        show.director->ChooseNextSet();
        chosen.push_back(show.director->GetCurrent());
    }
    EXPECT_EQ(show.director->GetHistorySize(), 1);
    int repeats = 0, zeros = 0;
    for (size_t i = 0; i < chosen.size(); ++i) {
        zeros += chosen[i] == 0;
        if (i > 0 && chosen[i] == chosen[i - 1]) ++repeats;
    }
    EXPECT_GT(repeats, 0);
    EXPECT_GT(zeros, 0);
    EXPECT_LT(zeros, 200);
}

TEST(ScreensaverController, SixSetsNeverRepeatWithinFourChoices) {
    Show show({0, 0, 0, 0, 0, 0});
    std::srand(3);
    std::vector<int32_t> chosen;
    for (int i = 0; i < 300; ++i) {
        show.director->ChooseNextSet();
        chosen.push_back(show.director->GetCurrent());
        ASSERT_GE(chosen.back(), 0);
        ASSERT_LT(chosen.back(), 6);
    }
    EXPECT_EQ(show.director->GetHistorySize(), 3);
    for (size_t i = 3; i < chosen.size(); ++i) {
        const std::set<int32_t> window(chosen.begin() + i - 3, chosen.begin() + i + 1);
        EXPECT_EQ(window.size(), 4u) << "choices " << i - 3 << ".." << i;
    }
    // The history holds the last three choices, oldest first.
    for (int32_t k = 0; k < 3; ++k) EXPECT_EQ(show.director->GetHistoryEntry(k), chosen[chosen.size() - 3 + k]);
    EXPECT_EQ(std::set<int32_t>(chosen.begin(), chosen.end()).size(), 6u);
}

TEST(ScreensaverController, TheHistoryFollowsTheSetCount) {
    Show show({0, 0, 0, 0, 0, 0, 0, 0, 0});
    show.director->ChooseNextSet();
    EXPECT_EQ(show.director->GetHistorySize(), 4);
    EXPECT_EQ(show.director->AddSet(show.cameras[0], 0.0, 1.0), kOk);
    show.director->ChooseNextSet();
    EXPECT_EQ(show.director->GetHistorySize(), 5);
}

TEST(ScreensaverController, TheChosenCameraBecomesTheRenderersWithAFreshPlaneMask) {
    Show show({0});
    show.cameras[0]->SetPlaneMask(0);
    show.director->ChooseNextSet();
    EXPECT_EQ(show.renderer->GetCamera(), show.cameras[0].Get());
    EXPECT_EQ(show.cameras[0]->GetPlaneMask(), -1);
}

// --- Durations

TEST(ScreensaverController, DurationComesFromTheAnimations) {
    struct Case {
        double cameraPeriod;  // 0: no camera animation
        double targetPeriod;  // 0: no target
        double duration;
    };
    const Case cases[] = {
        {0, 0, 1.5},   // the file's duration stays
        {8, 0, 8},
        {8, 5, 5},     // a shorter target shortens the set
        {8, 12, 8},    // a longer one does not lengthen it
        {0, 5, 1.5},   // the target alone can only shorten: 5 > 1.5
        {0, 1, 1},
    };
    for (const Case& c : cases) {
        test::CurrentRenderer renderer;
        Pointer<Camera> camera = new Camera();
        if (c.cameraPeriod > 0) PeriodTrack(camera, c.cameraPeriod);
        Pointer<SceneNode> target = new SceneNode();
        if (c.targetPeriod > 0) {
            PeriodTrack(target, c.targetPeriod);
            Pointer<TargetCameraController> aim = new TargetCameraController();
            aim->SetTarget(target);
            camera->AttachController(aim);
        }
        Pointer<ScreensaverController> director = new ScreensaverController();
        EXPECT_EQ(director->AddSet(camera, 0.0, 1.5), kOk);
        director->ChooseNextSet();
        EXPECT_EQ(director->GetSet(0).duration, c.duration) << c.cameraPeriod << " " << c.targetPeriod;
    }
}

TEST(ScreensaverController, ChoosingResetsTheCameraAndTargetAnimations) {
    test::CurrentRenderer renderer;
    Pointer<Camera> camera = new Camera();
    Pointer<NodeAnimationController> cameraTrack = PeriodTrack(camera, 6.0);
    Pointer<SceneNode> target = new SceneNode();
    Pointer<NodeAnimationController> targetTrack = PeriodTrack(target, 9.0);
    Pointer<TargetCameraController> aim = new TargetCameraController();
    aim->SetTarget(target);
    camera->AttachController(aim);
    Pointer<ScreensaverController> director = new ScreensaverController();
    EXPECT_EQ(director->AddSet(camera, 0.0, 1.0), kOk);
    cameraTrack->SetPhase(0.5);
    targetTrack->SetPhase(0.5);
    director->Reset();
    EXPECT_EQ(cameraTrack->GetPhase(), 0.0);
    EXPECT_EQ(targetTrack->GetPhase(), 0.0);
    EXPECT_EQ(director->GetElapsed(), 0.0);
}

// --- Switching

TEST(ScreensaverController, TheOvershootCarriesIntoTheNextSetAndItsTracks) {
    Show show({4.0, 4.0, 4.0});
    std::srand(4);
    show.director->ChooseNextSet();
    show.director->Update(3.9);
    EXPECT_EQ(show.director->GetElapsed(), 3.9);

    show.director->Update(0.3);
    const int32_t next = show.director->GetCurrent();
    EXPECT_NEAR(show.director->GetElapsed(), 0.2, 1e-12);
    // The new set's track was put back by the part of dt spent in the old
    // set; its own update in this frame brings it 0.2 s into the track.
    NodeAnimationController* track = show.animations[next];
    EXPECT_NEAR(track->GetPhase(), -0.1 / 4.0, 1e-12);
    track->Update(0.3);
    EXPECT_NEAR(track->GetPhase(), 0.2 / 4.0, 1e-12);
}

TEST(ScreensaverController, ALargeStepSwitchesOnlyOnce) {
    Show show({0, 0, 0, 0});
    show.director->ChooseNextSet();
    show.director->Update(3.5);  // durations of 1.5: one switch, 2 s carried
    EXPECT_EQ(show.director->GetElapsed(), 2.0);
    show.director->Update(0.0);  // the carried time switches on the next call
    EXPECT_EQ(show.director->GetElapsed(), 0.5);
    show.director->Update(0.0);
    EXPECT_EQ(show.director->GetElapsed(), 0.5);
}

TEST(ScreensaverController, AZeroPeriodTrackIsNotCorrected) {
    test::CurrentRenderer renderer;
    Pointer<Camera> camera = new Camera();
    Pointer<NodeAnimationController> still = PeriodTrack(camera, 0.0);
    Pointer<ScreensaverController> director = new ScreensaverController();
    EXPECT_EQ(director->AddSet(camera, 0.0, 1.0), kOk);
    director->ChooseNextSet();  // the set lasts 0 s
    ASSERT_EQ(director->GetSet(0).duration, 0.0);
    still->SetPhase(0.5);
    director->Update(0.1);
    EXPECT_EQ(director->GetCurrent(), 0);
    EXPECT_EQ(still->GetPhase(), 0.0);  // reset, never divided by 0
}

TEST(ScreensaverController, InactiveDirectorWaits) {
    Show show({0, 0});
    show.director->ChooseNextSet();
    show.director->SetActive(false);
    show.director->Update(10.0);
    EXPECT_EQ(show.director->GetElapsed(), 0.0);
}

// --- Derived controllers and streaming

TEST(ScreensaverController, TheLastAnimationControllerOfTheCameraListIsTheCameraAnimation) {
    test::CurrentRenderer renderer;
    Pointer<Camera> camera = new Camera();
    Pointer<NodeAnimationController> attachedFirst = PeriodTrack(camera, 3.0);
    Pointer<CameraActivateAnimationController> attachedLast = new CameraActivateAnimationController();
    camera->AttachController(attachedLast);  // the list's head
    Pointer<SceneNode> target = new SceneNode();
    Pointer<NodeAnimationController> older = PeriodTrack(target, 7.0);
    Pointer<NodeAnimationController> newer = PeriodTrack(target, 8.0);
    Pointer<TargetCameraController> aim = new TargetCameraController();
    aim->SetTarget(target);
    camera->AttachController(aim);
    Pointer<ScreensaverController> director = new ScreensaverController();
    EXPECT_EQ(director->AddSet(camera, 0.0, 1.0), kOk);
    EXPECT_EQ(director->GetSet(0).cameraAnimation.Get(), attachedFirst.Get());
    EXPECT_EQ(director->GetSet(0).targetAnimation.Get(), newer.Get());
}

TEST(ScreensaverController, LoadingChoosesASetAndPointsTheRendererAtIt) {
    Show show({6.0, 0});
    show.director->SetName(String("director"));
    test::CurrentRenderer renderer;  // a fresh renderer with no camera
    Pointer<ScreensaverController> loaded = test::RoundTrip(show.director.Get());
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->GetSetCount(), 2);
    ASSERT_NE(loaded->GetCurrent(), -1);
    EXPECT_EQ(renderer->GetCamera(), loaded->GetSet(loaded->GetCurrent()).camera.Get());
    EXPECT_EQ(loaded->GetElapsed(), 0.0);
    const ScreensaverSet& animated = loaded->GetSet(0);
    ASSERT_NE(animated.cameraAnimation, nullptr);
    EXPECT_EQ(animated.cameraAnimation->GetTrackPeriod(), 6.0);
    EXPECT_EQ(animated.fadeInTime, 0.5);
    EXPECT_EQ(loaded->GetSet(1).cameraAnimation, nullptr);
    EXPECT_EQ(loaded->GetSet(1).duration, 1.5);
    EXPECT_STREQ(loaded->GetSet(1).camera->GetName().CStr(), "1");
}

TEST(ScreensaverController, SaveLayout) {
    Show show({0});
    Stream stream(0, 512);
    ASSERT_EQ(show.director->Save(stream), 0);
    const int32_t saved = stream.GetPosition();
    stream.Rewind();
    String name;
    int32_t controllers = -1, sets = -1;
    bool active = false;
    Pointer<Object> camera;
    double fadeIn = 0, duration = 0;
    stream.ReadString(name);
    stream.ReadInt32(controllers);
    stream.ReadBool(active);
    stream.ReadInt32(sets);
    stream.ReadLink(camera);
    stream.ReadDouble(fadeIn);
    stream.ReadDouble(duration);
    ASSERT_EQ(stream.GetErrorState(), 0);
    EXPECT_EQ(stream.GetPosition(), saved);
    EXPECT_TRUE(active);
    EXPECT_EQ(sets, 1);
    EXPECT_NE(CastTo<Camera>(camera), nullptr);
    EXPECT_EQ(fadeIn, 0.5);
    EXPECT_EQ(duration, 1.5);
}

TEST(ScreensaverController, BadStreamsLogTheSetLineThenTheControllers) {
    Show show({0, 0});
    test::ExpectEveryTruncationFails(show.director);

    Stream stream(0, 256);
    stream.WriteString(String("director"));
    stream.WriteInt32(0);
    stream.WriteBool(true);
    stream.WriteInt32(1);
    Pointer<SceneNode> notACamera = new SceneNode();
    stream.WriteLink(notACamera);
    stream.WriteDouble(0.0);
    stream.WriteDouble(1.0);
    stream.Rewind();
    Pointer<ScreensaverController> target = new ScreensaverController();
    test::LogCapture capture;
    EXPECT_EQ(target->Load(stream), kFailed);
    ASSERT_GE(capture->lines.size(), 2u);
    const size_t last = capture->lines.size() - 1;
    EXPECT_EQ(capture->lines[last - 1].text, "Невозможно загрузить камеру сета контроллера скринсейвера.");
    EXPECT_EQ(capture->lines[last].text,
              "Невозможно загрузить сет. Имя[director] ID[" + std::to_string(target->GetId()) + "]");
    EXPECT_EQ(target->GetCurrent(), -1);

    Stream hostile(0, 64);
    hostile.WriteString(String("director"));
    hostile.WriteInt32(0);
    hostile.WriteBool(true);
    hostile.WriteInt32(INT32_MAX);
    hostile.Rewind();
    capture.Clear();
    EXPECT_EQ(target->Load(hostile), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить количество сетов. ID["));
}

TEST(ScreensaverController, SearchDoesNotVisitTheSets) {
    Show show({3.0});
    show.cameras[0]->SetName(String("shot"));
    EXPECT_EQ(show.director->FindByName(String("shot")), nullptr);
    ObjectArray found;
    show.director->CollectByType(Camera::TYPE, found);
    EXPECT_EQ(found.Count(), 0);
}

}  // namespace
}  // namespace zel
