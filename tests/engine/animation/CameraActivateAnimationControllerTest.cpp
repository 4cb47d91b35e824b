// The camera-activate controller: the camera's animation runs only while
// the camera is current and restarts each time it becomes current; linked
// controllers follow the bool keys at the camera animation's phase and are
// rewound when the shot ends.
#include <gtest/gtest.h>

#include "support/MathExpect.h"
#include "support/AnimationTestSupport.h"
#include "support/CurrentRenderer.h"
#include "engine/animation/CameraActivateAnimationController.h"
#include "engine/animation/NodeAnimationController.h"
#include "engine/core/Log.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::MakeBoolAnimation;
using test::MakeFrame;
using test::MakeTranslationAnimation;
using test::Near;

Pointer<NodeAnimationController> Track(Node* node, double period) {
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    Pointer<NodeAnimation> animation = MakeTranslationAnimation("move", {{0.0, {0, 0, 0}}, {0.5, {10, 0, 0}}});
    EXPECT_EQ(controller->AddAnimation(animation), kOk);
    EXPECT_EQ(controller->AddFrame(MakeFrame(animation, 0.0, 1.0)), kOk);
    controller->SetTrackPeriod(period);
    node->AttachController(controller);
    return controller;
}

// Camera A with its animation (10 s) and a target animation (20 s); the
// activate controller's keys switch the linked door controller on in the
// second half of the shot. Camera B is the other shot.
struct Shots {
    Shots()
        : a(new Camera(String("A"))),
          b(new Camera(String("B"))),
          target(new SceneNode()),
          door(new SceneNode()),
          activate(new CameraActivateAnimationController()) {
        cameraAnimation = Track(a, 10.0);
        targetAnimation = Track(target, 20.0);
        doorAnimation = Track(door, 4.0);
        Pointer<BoolAnimation> keys = MakeBoolAnimation("door", {{0.0, false}, {0.5, true}});
        EXPECT_EQ(activate->AddAnimation(keys), kOk);
        EXPECT_EQ(activate->AddFrame(MakeFrame(keys, 0.0, 1.0)), kOk);
        activate->SetTrackPeriod(10.0);
        activate->SetCameraController(cameraAnimation);
        activate->SetTargetController(targetAnimation);
        EXPECT_EQ(activate->AddLinkedController(doorAnimation), kOk);
        a->AttachController(activate);
    }
    test::CurrentRenderer renderer;
    Pointer<Camera> a;
    Pointer<Camera> b;
    Pointer<SceneNode> target;
    Pointer<SceneNode> door;
    Pointer<NodeAnimationController> cameraAnimation;
    Pointer<NodeAnimationController> targetAnimation;
    Pointer<NodeAnimationController> doorAnimation;
    Pointer<CameraActivateAnimationController> activate;
};

TEST(CameraActivateAnimationController, TheCurrentCameraRunsItsAnimationsAndKeysSwitchTheLinked) {
    Shots shots;
    shots.renderer->SetCamera(shots.a);
    shots.cameraAnimation->SetActive(false);
    shots.targetAnimation->SetActive(false);

    shots.cameraAnimation->SetPhase(0.25);
    shots.activate->Update(0.0);
    EXPECT_TRUE(shots.cameraAnimation->IsActive());
    EXPECT_TRUE(shots.targetAnimation->IsActive());
    EXPECT_EQ(shots.activate->GetPhase(), 0.25);
    EXPECT_FALSE(shots.doorAnimation->IsActive());

    shots.cameraAnimation->SetPhase(0.75);
    shots.activate->Update(123.0);  // dt plays no part
    EXPECT_EQ(shots.activate->GetPhase(), 0.75);
    EXPECT_TRUE(shots.doorAnimation->IsActive());
}

TEST(CameraActivateAnimationController, WithoutKeysTheLinkedControllersRun) {
    Shots shots;
    Pointer<CameraActivateAnimationController> bare = new CameraActivateAnimationController();
    bare->SetCameraController(shots.cameraAnimation);
    EXPECT_EQ(bare->AddLinkedController(shots.doorAnimation), kOk);
    EXPECT_EQ(bare->AddLinkedController(nullptr), kOk);
    shots.a->AttachController(bare);
    shots.doorAnimation->SetActive(false);
    shots.renderer->SetCamera(shots.a);
    bare->Update(0.0);
    EXPECT_TRUE(shots.doorAnimation->IsActive());
}

TEST(CameraActivateAnimationController, SwitchingAwayStopsAndRewindsOnce) {
    Shots shots;
    shots.renderer->SetCamera(shots.a);
    shots.cameraAnimation->SetPhase(0.7);
    shots.activate->Update(0.0);
    shots.door->Update(1.0, false);  // the door moves on during the shot
    ASSERT_GT(shots.doorAnimation->GetPhase(), 0.0);

    shots.renderer->SetCamera(shots.b);
    shots.activate->Update(0.0);
    EXPECT_FALSE(shots.cameraAnimation->IsActive());
    EXPECT_EQ(shots.cameraAnimation->GetPhase(), 0.0);
    EXPECT_EQ(shots.cameraAnimation->GetStageCount(), 0);
    EXPECT_FALSE(shots.targetAnimation->IsActive());
    EXPECT_EQ(shots.targetAnimation->GetPhase(), 0.0);
    // The door is back at its first pose and switched off.
    EXPECT_FALSE(shots.doorAnimation->IsActive());
    EXPECT_EQ(shots.doorAnimation->GetPhase(), 0.0);
    EXPECT_TRUE(Near(shots.door->GetLocal().translation, {0, 0, 0}));

    // Still not current: no second rewind.
    shots.door->GetLocal().translation = {3, 3, 3};
    shots.activate->Update(0.0);
    EXPECT_EQ(shots.door->GetLocal().translation, (Vector3{3, 3, 3}));
}

TEST(CameraActivateAnimationController, SwitchingBackRestartsTheCameraAnimationFromZero) {
    Shots shots;
    shots.renderer->SetCamera(shots.a);
    shots.a->Update(4.0, false);  // activate (head of the list), then the camera track
    shots.a->Update(4.0, false);
    ASSERT_NEAR(shots.cameraAnimation->GetPhase(), 0.8, 1e-12);

    shots.renderer->SetCamera(shots.b);
    shots.a->Update(4.0, false);  // the camera track is off: it stays at 0
    EXPECT_EQ(shots.cameraAnimation->GetPhase(), 0.0);

    shots.renderer->SetCamera(shots.a);
    shots.a->Update(1.0, false);
    EXPECT_NEAR(shots.cameraAnimation->GetPhase(), 0.1, 1e-12);
    EXPECT_TRUE(Near(shots.a->GetLocal().translation, {2, 0, 0}));
}

TEST(CameraActivateAnimationController, NoRendererCountsAsNotCurrent) {
    Shots shots;
    SetCurrentRenderer(nullptr);
    shots.activate->Update(0.0);
    EXPECT_FALSE(shots.cameraAnimation->IsActive());
}

TEST(CameraActivateAnimationController, NeedsACameraControllerAnOwnerAndTheActiveFlag) {
    Shots shots;
    shots.renderer->SetCamera(shots.b);
    shots.activate->SetActive(false);
    shots.activate->Update(0.0);
    EXPECT_TRUE(shots.cameraAnimation->IsActive());

    Pointer<CameraActivateAnimationController> loose = new CameraActivateAnimationController();
    loose->SetCameraController(shots.cameraAnimation);
    loose->Update(0.0);  // no owner
    EXPECT_TRUE(shots.cameraAnimation->IsActive());

    shots.activate->SetActive(true);
    shots.activate->SetCameraController(nullptr);
    shots.activate->Update(0.0);
    EXPECT_TRUE(shots.targetAnimation->IsActive());
}

TEST(CameraActivateAnimationController, AControllerLinkedToItselfDoesNotRecurse) {
    Shots shots;
    EXPECT_EQ(shots.activate->AddLinkedController(shots.activate), kOk);
    shots.renderer->SetCamera(shots.b);
    shots.activate->Update(0.0);
    EXPECT_FALSE(shots.cameraAnimation->IsActive());
    shots.activate->ClearLinkedControllers();  // breaks the reference cycle
}

TEST(CameraActivateAnimationController, RoundTripKeepsItsLinks) {
    Shots shots;
    Pointer<CameraActivateAnimationController> loaded = test::RoundTrip(shots.activate.Get());
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->GetCameraController(), nullptr);
    ASSERT_NE(loaded->GetTargetController(), nullptr);
    EXPECT_EQ(loaded->GetCameraController()->GetTrackPeriod(), 10.0);
    EXPECT_EQ(loaded->GetTargetController()->GetTrackPeriod(), 20.0);
    ASSERT_EQ(loaded->GetLinkedControllerCount(), 1);
    EXPECT_EQ(loaded->GetLinkedController(0)->GetTrackPeriod(), 4.0);
    EXPECT_EQ(loaded->GetFrameCount(), 1);
    EXPECT_EQ(loaded->GetTrackPeriod(), 10.0);

    shots.activate->SetTargetController(nullptr);
    loaded = test::RoundTrip(shots.activate.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetTargetController(), nullptr);
}

TEST(CameraActivateAnimationController, BadStreams) {
    Shots shots;
    test::ExpectEveryTruncationFails(shots.activate);

    Pointer<CameraActivateAnimationController> empty = new CameraActivateAnimationController();
    empty->SetName(String("cut"));
    Stream full(0, 256);
    ASSERT_EQ(empty->Save(full), 0);
    // Replace the linked count (the last four bytes) with an impossible one.
    Stream hostile(0, 256);
    hostile.Write(full.GetBuffer(), full.GetPosition() - 4);
    hostile.WriteInt32(1000000);
    hostile.Rewind();
    Pointer<CameraActivateAnimationController> target = new CameraActivateAnimationController();
    test::LogCapture capture;
    EXPECT_EQ(target->Load(hostile), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить количество контроллеров анимации. ID[" +
                                                 std::to_string(target->GetId()) + "] Имя[cut]"));
}

}  // namespace
}  // namespace zel
