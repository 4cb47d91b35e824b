#include <gtest/gtest.h>

#include <string>

#include "support/StreamRoundTrip.h"
#include "engine/core/Stream.h"
#include "engine/scene/FPCamera.h"
#include "engine/scene/Light.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "support/MathExpect.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::Near;
using test::NearMatrix;

Pointer<Camera> DefaultCamera() {
    Pointer<Camera> camera = new Camera(String("camera"));
    camera->Update(0, false);
    return camera;
}

// Matrices.

TEST(Camera, IdentityTransformGivesTheIdentityView) {
    EXPECT_TRUE(NearMatrix(DefaultCamera()->GetView(), Matrix4::Identity(), 0));
}

TEST(Camera, ProjectionHasTheFixedRatioAndAUnitW) {
    Pointer<Camera> camera = DefaultCamera();
    const Matrix4& p = camera->GetProjection();
    EXPECT_FLOAT_EQ(p.m[1][1], 2.4142137f);
    EXPECT_FLOAT_EQ(p.m[0][0], 1.8690687f);
    EXPECT_FLOAT_EQ(p.m[2][2], 10000.0f / 9999.9f);
    EXPECT_FLOAT_EQ(p.m[3][2], -0.1f * 10000.0f / 9999.9f);
    EXPECT_EQ(p.m[2][3], 1.0f);
    EXPECT_EQ(p.m[3][3], 1.0f);
    int zeros = 0;
    for (const auto& row : p.m)
        for (float value : row) zeros += value == 0.0f;
    EXPECT_EQ(zeros, 10);
}

TEST(Camera, ViewMovesThePositionToTheOriginAlongTheAxes) {
    Pointer<Camera> camera = new Camera();
    camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion::FromAxisAngle({0, 1, 0}, kHalfPi), {3, 4, 5}));
    camera->Update(0, false);
    const Matrix4& view = camera->GetView();
    EXPECT_TRUE(Near(view.TransformPoint(camera->GetPosition()), {0, 0, 0}));
    EXPECT_TRUE(Near(view.TransformDirection(camera->GetDirection()), {0, 0, 1}));
    EXPECT_TRUE(Near(view.TransformDirection(camera->GetRight()), {1, 0, 0}));
    EXPECT_TRUE(NearMatrix(camera->GetViewProjection(), view * camera->GetProjection()));
}

// Frustum planes of the default camera.

TEST(Camera, DefaultFrustumPlanes) {
    Pointer<Camera> camera = DefaultCamera();
    const Plane& nearPlane = camera->GetPlane(Camera::kNearPlane);
    EXPECT_TRUE(Near(nearPlane.normal, {0, 0, 1}));
    EXPECT_NEAR(nearPlane.constant, 0.1f, 1e-5f);
    const Plane& farPlane = camera->GetPlane(Camera::kFarPlane);
    EXPECT_TRUE(Near(farPlane.normal, {0, 0, -1}));
    // Single precision cancels digits in the far corners: the plane is
    // within half a percent of the exact depth, 109999.
    EXPECT_NEAR(farPlane.constant, -109999.0f, 550.0f);
    for (int32_t side = Camera::kLeftPlane; side <= Camera::kBottomPlane; ++side) {
        SCOPED_TRACE(side);
        EXPECT_NEAR(camera->GetPlane(side).SignedDistance({0, 0, -1}), 0.0f, 1e-4f);
    }
    for (int32_t i = 0; i < Camera::kPlaneCount; ++i) EXPECT_GT(camera->GetPlane(i).SignedDistance({0, 0, 10}), 0) << i;
    // Left and right mirror each other; so do top and bottom.
    EXPECT_TRUE(Near(camera->GetPlane(Camera::kLeftPlane).normal.x * Vector3{1, 0, 0},
                     -camera->GetPlane(Camera::kRightPlane).normal.x * Vector3{1, 0, 0}));
    EXPECT_GT(camera->GetPlane(Camera::kLeftPlane).normal.x, 0);
    EXPECT_LT(camera->GetPlane(Camera::kTopPlane).normal.y, 0);
}

// Culling.

struct CullCase {
    const char* what;
    Vector3 center;
    float radius;
    int32_t maskBefore;
    bool culled;
    int32_t maskAfter;
};

TEST(Camera, IsCulledTestsOnlyTheMaskedPlanes) {
    const int32_t all = -1;
    const int32_t nearBit = 32 >> Camera::kNearPlane;
    const CullCase cases[] = {
        {"inside every plane clears every bit", {0, 0, 10}, 1, all, false, all & ~63},
        {"behind the camera", {0, 0, -5}, 1, all, true, all},
        {"crossing the near plane keeps its bit", {0, 0, 0.1f}, 0.05f, all, false, all & ~(63 & ~nearBit)},
        {"an untested plane cannot reject", {0, 0, 0}, 0.05f, all & ~nearBit, false, all & ~63},
        {"behind the apex of the side planes", {0, 0, -5}, 1, all & ~nearBit, true, all & ~(nearBit | 16)},
        {"beyond the far plane", {0, 0, 200000}, 1, all, true, all & ~nearBit},
        {"nothing to test", {0, 0, -5}, 1, 0, false, 0},
    };
    Pointer<Camera> camera = DefaultCamera();
    for (const CullCase& c : cases) {
        SCOPED_TRACE(c.what);
        camera->SetPlaneMask(c.maskBefore);
        SphereBoundingVolume sphere(c.center, c.radius);
        EXPECT_EQ(camera->IsCulled(sphere), c.culled);
        EXPECT_EQ(camera->GetPlaneMask(), c.maskAfter);
    }
}

// Orientation.

TEST(Camera, LookAlongBuildsTheRotationFromTheDirection) {
    Camera camera;
    camera.LookAlong({0, 0, 5});
    EXPECT_TRUE(Near(camera.GetLocal().rotation, Quaternion::Identity()));
    EXPECT_FALSE(camera.GetLocal().isIdentity);
    EXPECT_FALSE(camera.GetLocal().noRotation);

    camera.LookAlong({1, 0, 0});
    camera.Update(0, false);
    EXPECT_TRUE(Near(camera.GetDirection(), {1, 0, 0}));
    EXPECT_TRUE(Near(camera.GetUp(), {0, 1, 0}));
    EXPECT_TRUE(Near(camera.GetRight(), {0, 0, -1}));

    // Straight up: the right and up axes have no direction and become
    // zero; the rotation made from them is arbitrary but finite.
    camera.LookAlong({0, 3, 0});
    const Quaternion q = camera.GetLocal().rotation;
    EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w));
}

// Streaming.

using test::RoundTrip;

TEST(Camera, FieldsSurviveSaveAndLoad) {
    Pointer<FPCamera> camera = new FPCamera(String("fp"));
    camera->SetFov(1.0f);
    camera->SetNearPlane(0.5f);
    camera->SetFarPlane(50.0f);
    camera->SetValue1(-2.0f);
    camera->SetValue2(9.0f);
    camera->SetFlag(true);
    Pointer<FPCamera> loaded = RoundTrip(camera.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetFov(), 1.0f);
    EXPECT_EQ(loaded->GetNearPlane(), 0.5f);
    EXPECT_EQ(loaded->GetFarPlane(), 50.0f);
    EXPECT_EQ(loaded->GetValue1(), -2.0f);
    EXPECT_EQ(loaded->GetValue2(), 9.0f);
    EXPECT_TRUE(loaded->GetFlag());
}

TEST(Camera, TruncatedDataIsReportedOnce) {
    Pointer<Camera> camera = new Camera(String("cam"));
    Stream full(0, 256);
    ASSERT_EQ(full.WriteLink(camera), 0);
    Stream cut(full.GetPosition() - 2, 1);
    cut.Write(full.GetBuffer(), full.GetPosition() - 2);
    cut.Rewind();
    test::LogCapture capture;
    Pointer<Object> read;
    EXPECT_NE(cut.ReadLink(read), 0);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить данные камеры. ID["));
}

// Lights.

TEST(Light, DefaultsAndSaveLoad) {
    Light light;
    EXPECT_EQ(light.GetLightType(), Light::kFixedDirectional);
    EXPECT_EQ(light.GetDiffuse(), (ColorRGBA{0, 0, 0, 1}));
    EXPECT_EQ(light.GetEffectiveAttenuation(), (Vector3{1, 0, 0}));
    EXPECT_FLOAT_EQ(light.GetSpotAngle(), kPi / 4);

    Pointer<Light> spot = new Light(Light::kSpot, String("spot"));
    spot->SetAmbient({0.1f, 0.2f, 0.3f, 0.4f});
    spot->SetDiffuse({1, 0.5f, 0.25f, 1});
    spot->SetSpecular({0, 1, 0, 0.5f});
    spot->SetAttenuation(2, 3, 4);
    spot->SetUseAttenuation(true);
    spot->SetFalloff(0.75f);
    spot->SetSpotAngle(0.3f);
    Pointer<Light> loaded = RoundTrip(spot.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetLightType(), Light::kSpot);
    EXPECT_EQ(loaded->GetAmbient(), spot->GetAmbient());
    EXPECT_EQ(loaded->GetDiffuse(), spot->GetDiffuse());
    EXPECT_EQ(loaded->GetSpecular(), spot->GetSpecular());
    EXPECT_EQ(loaded->GetEffectiveAttenuation(), (Vector3{2, 3, 4}));
    EXPECT_EQ(loaded->GetFalloff(), 0.75f);
    EXPECT_EQ(loaded->GetSpotAngle(), 0.3f);
}

TEST(Light, FixedDirectionalIgnoresTheNodeRotation) {
    Pointer<Light> light = new Light(Light::kFixedDirectional);
    light->SetLocal(Transform::Make({1, 1, 1}, Quaternion::FromAxisAngle({1, 0, 0}, 1.0f), {1, 2, 3}));
    light->Update(0, false);
    EXPECT_EQ(light->GetShiningDirection(), (Vector3{0, 0, 1}));
    light->SetLightType(Light::kDirectional);
    EXPECT_TRUE(Near(light->GetShiningDirection(), light->GetDirection()));
    EXPECT_FALSE(Near(light->GetDirection(), {0, 0, 1}));
    EXPECT_EQ(light->GetPosition(), (Vector3{1, 2, 3}));
}

}  // namespace
}  // namespace zel
