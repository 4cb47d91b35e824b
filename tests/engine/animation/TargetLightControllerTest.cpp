// The target light: the same turn as the target camera, for lights.
#include <gtest/gtest.h>

#include <cmath>

#include "support/MathExpect.h"
#include "support/AnimationTestSupport.h"
#include "engine/animation/TargetLightController.h"
#include "engine/core/Log.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneNode.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::Near;

Transform LightAt(const Vector3& t) { return Transform::Make({1, 1, 1}, Quaternion::Identity(), t); }

TEST(TargetLightController, TurnsLikeTheCameraRule) {
    const Vector3 targets[] = {{0, 0, 10}, {10, 0, 0}, {3, -4, 2}, {-1, 2, -7}};
    for (const Vector3& at : targets) {
        Pointer<SceneNode> target = new SceneNode();
        target->SetLocal(LightAt(at));
        target->Update(0, false);

        Pointer<Light> light = new Light(Light::kSpot);
        light->SetLocal(LightAt({1, 1, 1}));
        Pointer<TargetLightController> controller = new TargetLightController();
        controller->SetTarget(target);
        light->AttachController(controller);
        light->Update(0, false);

        Camera reference;
        reference.LookAlong(at - Vector3{1, 1, 1});
        EXPECT_TRUE(Near(light->GetWorld().rotation, reference.GetLocal().rotation)) << at.x;
        EXPECT_EQ(light->GetWorld().rotation, light->GetLocal().rotation);
        EXPECT_TRUE(Near(light->GetDirection(), Normalize(at - Vector3{1, 1, 1})));
        EXPECT_TRUE(Near(light->GetPosition(), {1, 1, 1}));
        EXPECT_FALSE(light->GetUpdateWorldTransform());
        EXPECT_FALSE(light->GetWorld().isIdentity);
    }
}

TEST(TargetLightController, TargetStraightBelowStaysFinite) {
    Pointer<SceneNode> target = new SceneNode();
    target->SetLocal(LightAt({0, -5, 0}));
    target->Update(0, false);
    Pointer<Light> light = new Light(Light::kSpot);
    Pointer<TargetLightController> controller = new TargetLightController();
    controller->SetTarget(target);
    light->AttachController(controller);
    light->Update(0, false);
    const Quaternion q = light->GetWorld().rotation;
    EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w));
}

TEST(TargetLightController, OnlyLightsAreTurned) {
    Pointer<SceneNode> target = new SceneNode();
    target->SetLocal(LightAt({10, 0, 0}));
    target->Update(0, false);
    Pointer<Camera> camera = new Camera();
    Pointer<TargetLightController> controller = new TargetLightController();
    controller->SetTarget(target);
    camera->AttachController(controller);
    camera->Update(0, false);
    EXPECT_TRUE(camera->GetUpdateWorldTransform());
    EXPECT_EQ(camera->GetLocal().rotation, Quaternion::Identity());
}

TEST(TargetLightController, StreamsItsTargetAndReportsItsOwnMessage) {
    Pointer<TargetLightController> controller = new TargetLightController();
    Pointer<SceneNode> target = new SceneNode();
    target->SetName(String("sun"));
    controller->SetTarget(target);
    Pointer<TargetLightController> loaded = test::RoundTrip(controller.Get());
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->GetTarget(), nullptr);
    EXPECT_STREQ(loaded->GetTarget()->GetName().CStr(), "sun");
    test::ExpectEveryTruncationFails(controller);

    Stream stream(0, 64);
    stream.WriteString(String("lamp"));
    stream.WriteInt32(0);
    stream.WriteBool(true);
    stream.Rewind();
    Pointer<TargetLightController> broken = new TargetLightController();
    test::LogCapture capture;
    EXPECT_EQ(broken->Load(stream), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить цель источника света. ID[" +
                                                 std::to_string(broken->GetId()) + "] Имя[lamp]"));
}

}  // namespace
}  // namespace zel
