// The shadow map's light-camera fits and bias matrix.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/render/shadow/LightCameraFit.h"
#include "support/MathExpect.h"

namespace zel {
namespace {

TEST(LightCameraFit, WarpDistanceAtRightAngles) {
    // cosγ = 0, r = 8: 1 + √16.
    EXPECT_FLOAT_EQ(WarpDistance(0.0f, 8.0f), 5.0f);
    // sinγ = 0.5 doubles it.
    EXPECT_NEAR(WarpDistance(std::sqrt(0.75f), 8.0f), 10.0f, 1e-4f);
}

TEST(LightCameraFit, ViewerFitKeepsTheViewersViewAndMapsTheFrustumIntoTheUnitBox) {
    ViewerFrustum viewer;  // identity view: looking along +z
    viewer.farPlane = 50.0f;
    viewer.nearPlane = 1.0f;
    // Light from above, at right angles to the view direction.
    const LightCameraMatrices fit = FitLightToViewer(viewer, {0.0f, -1.0f, 0.0f}, 0.0f, 8.0f);
    EXPECT_TRUE(test::NearMatrix(fit.view, viewer.view));
    // Points inside the viewer's frustum land inside the clip box.
    const Vector3 inside[] = {{0, 0, 2}, {0.5f, -0.5f, 10}, {-5, 5, 40}};
    for (const Vector3& p : inside) {
        const Vector4 clip = Vector4::FromVector3(p, 1.0f) * fit.projection;
        ASSERT_GT(clip.w, 0.0f);
        EXPECT_LE(std::fabs(clip.x / clip.w), 1.0f + 1e-4f);
        EXPECT_LE(std::fabs(clip.y / clip.w), 1.0f + 1e-4f);
    }
}

TEST(LightCameraFit, SphereFitLooksAlongTheLightFromTheSphere) {
    const Vector3 center{3.0f, 1.0f, -2.0f};
    const float radius = 4.0f;
    const Vector3 directions[] = {{0, 0, 1}, {1, 0, 0}, Normalize(Vector3{1, -1, 1}), {0, -1, 0}};
    for (const Vector3& direction : directions) {
        const LightCameraMatrices fit = FitLightToSphere(direction, center, radius);
        const Matrix4 viewProjection = fit.view * fit.projection;
        // The centre projects to the middle, at depth (r − 0.1) / (2r − 0.1).
        const Vector3 c = viewProjection.TransformCoord(center);
        EXPECT_TRUE(test::Near(c, {0.0f, 0.0f, (radius - 0.1f) / (2.0f * radius - 0.1f)}, 1e-4f));
        // The sphere's far point lies on the far plane.
        EXPECT_NEAR(viewProjection.TransformCoord(center + direction * radius).z, 1.0f, 1e-4f);
    }
}

TEST(LightCameraFit, BiasMatrixMapsClipSpaceToTexels) {
    const Matrix4 bias = ShadowBiasMatrix(256, 128);
    // Clip (−1, 1) is the top-left corner, plus half a texel.
    EXPECT_TRUE(test::Near(bias.TransformPoint({-1.0f, 1.0f, 0.25f}), {0.5f / 256, 0.5f / 128, 0.25f}));
    EXPECT_TRUE(test::Near(bias.TransformPoint({1.0f, -1.0f, 1.0f}), {1.0f + 0.5f / 256, 1.0f + 0.5f / 128, 1.0f}));
}

}  // namespace
}  // namespace zel
