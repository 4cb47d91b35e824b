// Mirrored views and the oblique clip plane used by the water's screen-space
// images.
#include <gtest/gtest.h>

#include "engine/render/WaterPlaneCamera.h"
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

TEST(WaterPlaneCamera, MirroredViewSeesTheMirrorImageWhereTheCameraSawTheObject) {
    const Vector3 position{0.0f, 3.0f, -5.0f};
    const Vector3 direction = Normalize(Vector3{0.0f, -0.5f, 1.0f});
    const float height = 1.0f;
    const Matrix4 view = MirroredView(position, direction, height);
    // The mirrored eye sits at the view's origin.
    EXPECT_TRUE(test::Near(view.TransformPoint({0.0f, -1.0f, -5.0f}), {0, 0, 0}));
    // Its viewing axis is the direction with y negated.
    EXPECT_TRUE(test::Near(view.TransformDirection(Normalize(Vector3{0.0f, 0.5f, 1.0f})), {0, 0, 1}));
}

TEST(WaterPlaneCamera, ObliqueColumnIsTheClipSpacePlaneTurnedToFaceAwayFromTheCamera) {
    // Through the identity view-projection the clip-space plane is the
    // world plane: normalised by its normal's length; with w > 0 negated and
    // w raised by 1.
    struct Case {
        Vector4 plane, column;
    };
    const Case cases[] = {{{0, -1, 0, 2}, {0, 1, 0, -1}}, {{0, 2, 0, -4}, {0, 1, 0, -2}}, {{0, 0, -0.5f, 0.25f}, {0, 0, 1, 0.5f}}};
    for (const Case& c : cases) {
        const Matrix4 oblique = ObliqueProjection(Matrix4::Identity(), Matrix4::Identity(), c.plane);
        const Vector4 column = oblique.Column(2);
        EXPECT_TRUE(test::Near(column.Xyz(), c.column.Xyz()));
        EXPECT_NEAR(column.w, c.column.w, 1e-6f);
        // The other columns stay those of the projection.
        EXPECT_EQ(oblique.Column(0), Matrix4::Identity().Column(0));
    }
}

TEST(WaterPlaneCamera, PlaneWithZeroClipWLeavesTheProjectionUnchanged) {
    Matrix4 projection;
    projection.m[2][2] = 2.0f;
    // Through the identity view-projection the plane keeps w = 0.
    EXPECT_EQ(ObliqueProjection(projection, Matrix4::Identity(), {0.0f, -1.0f, 0.0f, 0.0f}), projection);
}

}  // namespace
}  // namespace zel
