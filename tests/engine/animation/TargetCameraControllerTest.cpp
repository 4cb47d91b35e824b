// The target camera: turning towards the target in world space, the target
// straight above, the update order within a frame, and streaming.
#include <gtest/gtest.h>

#include <cmath>

#include "support/MathExpect.h"
#include "support/AnimationTestSupport.h"
#include "engine/animation/TargetCameraController.h"
#include "engine/core/Log.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::Near;

Transform CameraAt(const Vector3& t) { return Transform::Make({1, 1, 1}, Quaternion::Identity(), t); }

struct CameraRig {
    CameraRig() : root(new SceneNode()), camera(new Camera()), target(new SceneNode()), controller(new TargetCameraController()) {
        root->AppendChild(camera);
        root->AppendChild(target);
        camera->AttachController(controller);
        controller->SetTarget(target);
    }
    Pointer<SceneNode> root;
    Pointer<Camera> camera;
    Pointer<SceneNode> target;
    Pointer<TargetCameraController> controller;
};

TEST(TargetCameraController, LooksAtTheTargetInWorldSpace) {
    struct Case {
        Vector3 cameraAt;
        Vector3 targetAt;
        Vector3 direction;
    };
    const Case cases[] = {
        {{0, 0, 0}, {0, 0, 10}, {0, 0, 1}},
        {{0, 0, 0}, {10, 0, 0}, {1, 0, 0}},
        {{5, 1, 5}, {5, 1, -5}, {0, 0, -1}},
        {{1, 1, 1}, {4, 5, 1}, {0.6f, 0.8f, 0}},
    };
    for (const Case& c : cases) {
        CameraRig rig;
        rig.camera->SetLocal(CameraAt(c.cameraAt));
        rig.target->SetLocal(CameraAt(c.targetAt));
        rig.target->Update(0, false);
        rig.camera->Update(0, false);
        EXPECT_TRUE(Near(rig.camera->GetDirection(), c.direction)) << c.targetAt.x;
        EXPECT_TRUE(Near(rig.camera->GetPosition(), c.cameraAt));
        EXPECT_EQ(rig.camera->GetWorld().rotation, rig.camera->GetLocal().rotation);
        EXPECT_FALSE(rig.camera->GetWorld().isIdentity);
        EXPECT_FALSE(rig.camera->GetWorld().noRotation);
        EXPECT_FALSE(rig.camera->GetUpdateWorldTransform());
    }
}

TEST(TargetCameraController, ParentTransformsPlaceTheCameraFirst) {
    CameraRig rig;
    rig.root->SetLocal(CameraAt({0, 0, 100}));
    rig.camera->SetLocal(CameraAt({10, 0, 0}));
    rig.target->SetLocal(CameraAt({0, 0, 0}));
    rig.root->Update(0, false);
    rig.root->Update(0, false);  // the target's world from the first frame
    EXPECT_TRUE(Near(rig.camera->GetPosition(), {10, 0, 100}));
    EXPECT_TRUE(Near(rig.camera->GetDirection(), {-1, 0, 0}));
}

TEST(TargetCameraController, TargetStraightAboveGivesAZeroRightAxisButFiniteValues) {
    CameraRig rig;
    rig.target->SetLocal(CameraAt({0, 10, 0}));
    rig.target->Update(0, false);
    rig.camera->Update(0, false);
    const Quaternion q = rig.camera->GetWorld().rotation;
    EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w));
    // The rule's right axis, ((0, 1, 0) × forward) normalised, has no length.
    EXPECT_TRUE(Near(Normalize(Cross(Vector3{0, 1, 0}, Vector3{0, 1, 0})), {0, 0, 0}));
    EXPECT_TRUE(Near(rig.camera->GetPosition(), {0, 0, 0}));
}

TEST(TargetCameraController, ATargetUpdatedLaterIsSeenAtItsPreviousPosition) {
    CameraRig rig;  // the camera is the root's first child, the target its second
    rig.target->SetLocal(CameraAt({10, 0, 0}));
    rig.root->Update(0, false);
    rig.target->SetLocal(CameraAt({0, 0, 10}));
    rig.root->Update(0, false);
    EXPECT_TRUE(Near(rig.camera->GetDirection(), {1, 0, 0}));
    rig.root->Update(0, false);
    EXPECT_TRUE(Near(rig.camera->GetDirection(), {0, 0, 1}));
}

TEST(TargetCameraController, DoesNothingWithoutTargetCameraOwnerOrActiveFlag) {
    CameraRig rig;
    rig.target->SetLocal(CameraAt({10, 0, 0}));
    rig.target->Update(0, false);
    rig.controller->SetActive(false);
    rig.camera->Update(0, false);
    EXPECT_TRUE(rig.camera->GetUpdateWorldTransform());
    EXPECT_EQ(rig.camera->GetLocal().rotation, Quaternion::Identity());

    rig.controller->SetActive(true);
    rig.controller->SetTarget(nullptr);
    rig.camera->Update(0, false);
    EXPECT_TRUE(rig.camera->GetUpdateWorldTransform());

    Pointer<SceneNode> plain = new SceneNode();
    Pointer<TargetCameraController> misplaced = new TargetCameraController();
    misplaced->SetTarget(rig.target);
    plain->AttachController(misplaced);
    plain->Update(0, false);
    EXPECT_TRUE(plain->GetUpdateWorldTransform());
    EXPECT_EQ(plain->GetLocal().rotation, Quaternion::Identity());
}

TEST(TargetCameraController, SearchDoesNotReachTheTarget) {
    CameraRig rig;
    rig.target->SetName(String("goal"));
    EXPECT_EQ(rig.controller->FindByName(String("goal")), nullptr);
    ObjectArray found;
    rig.controller->CollectByType(Node::TYPE, found);
    EXPECT_EQ(found.Count(), 0);
}

TEST(TargetCameraController, StreamsItsTarget) {
    Pointer<TargetCameraController> controller = new TargetCameraController();
    Pointer<SceneNode> target = new SceneNode();
    target->SetName(String("goal"));
    controller->SetTarget(target);
    Pointer<TargetCameraController> loaded = test::RoundTrip(controller.Get());
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->GetTarget(), nullptr);
    EXPECT_STREQ(loaded->GetTarget()->GetName().CStr(), "goal");

    controller->SetTarget(nullptr);
    loaded = test::RoundTrip(controller.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetTarget(), nullptr);
}

TEST(TargetCameraController, TruncatedTargetIsReported) {
    Pointer<TargetCameraController> controller = new TargetCameraController();
    controller->SetTarget(new SceneNode());
    test::ExpectEveryTruncationFails(controller);

    Stream stream(0, 64);
    stream.WriteString(String("aim"));
    stream.WriteInt32(0);
    stream.WriteBool(true);
    stream.Rewind();
    Pointer<TargetCameraController> target = new TargetCameraController();
    test::LogCapture capture;
    EXPECT_EQ(target->Load(stream), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить цель камеры. ID[" + std::to_string(target->GetId()) +
                                                 "] Имя[aim]"));
}

}  // namespace
}  // namespace zel
