// Mirrored views and the oblique clip plane used by the water's screen-space
// images.
#include <gtest/gtest.h>

#include "engine/render/water/WaterPlaneCamera.h"
#include "engine/scene/Camera.h"
#include "support/MathExpect.h"

namespace zel {
namespace {

TEST(WaterPlaneCamera, MirrorSwapsHeightsAboutThePlane) {
    struct Case {
        float height;
        Vector3 point, mirrored;
    };
    const Case cases[] = {{0.0f, {1, 2, 3}, {1, -2, 3}}, {1.5f, {0, 4, 0}, {0, -1, 0}}, {-1.0f, {2, -1, 5}, {2, -1, 5}}};
    for (const Case& c : cases) EXPECT_TRUE(test::Near(MirrorAboutHeight(c.height).TransformPoint(c.point), c.mirrored));
}

// A camera 2 above the water looking level along +z through the mirror: the
// mirror image of the sky far away must stay in the depth range (the far
// plane must not be tilted into the view), and what lies below the water
// must be clipped by the near plane.
TEST(WaterPlaneCamera, ObliqueNearPlaneClipsBelowTheWaterAndKeepsTheDistance) {
    Camera camera;
    camera.GetLocal().translation = {0.0f, 2.0f, 0.0f};
    camera.SetNearPlane(0.5f);
    camera.SetFarPlane(4000.0f);
    camera.Update(0.0, false);
    const float water = 0.0f;
    const Matrix4 view = MirrorAboutHeight(water) * camera.GetView();
    const Matrix4 projection =
        ObliqueProjection(camera.GetProjection(), view * camera.GetProjection(), {0.0f, -1.0f, 0.0f, water});
    auto depth = [&](const Vector3& point) {
        const Vector4 clip = Vector4{point.x, point.y, point.z, 1.0f} * (view * projection);
        return clip.z / clip.w;
    };
    struct Case {
        Vector3 point;
        bool kept;
    };
    const Case cases[] = {{{0.0f, 1.0f, 20.0f}, true},      {{0.0f, 60.0f, 1800.0f}, true},
                          {{50.0f, 5.0f, 3000.0f}, true},   {{0.0f, -1.0f, 20.0f}, false},
                          {{0.0f, -30.0f, 900.0f}, false}};
    for (const Case& c : cases) {
        const float z = depth(c.point);
        if (c.kept) {
            EXPECT_GE(z, 0.0f) << c.point.y << " " << c.point.z;
            EXPECT_LE(z, 1.0f) << c.point.y << " " << c.point.z;
        } else {
            EXPECT_LT(z, 0.0f) << c.point.y << " " << c.point.z;
        }
    }
}

TEST(WaterPlaneCamera, ACameraOnThePlaneLeavesTheProjectionUnchanged) {
    Matrix4 projection;
    projection.m[2][2] = 2.0f;
    // Through the identity view the camera sits on the plane y = 0.
    EXPECT_EQ(ObliqueProjection(projection, projection, {0.0f, -1.0f, 0.0f, 0.0f}), projection);
}

}  // namespace
}  // namespace zel
