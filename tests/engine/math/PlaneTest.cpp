#include <cmath>

#include <gtest/gtest.h>

#include "engine/math/Plane.h"
#include "support/MathExpect.h"

namespace zel {
namespace {

using test::Near;

TEST(PlaneTest, FromPointsOrientationAndConstant) {
    const Plane p = Plane::FromPoints({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    EXPECT_TRUE(Near(p.normal, {0, 0, 1}));
    EXPECT_EQ(p.constant, 0.0f);
    // Reversed winding flips the normal; an offset plane carries n · a.
    const Plane q = Plane::FromPoints({0, 0, 5}, {0, 3, 5}, {2, 0, 5});
    EXPECT_TRUE(Near(q.normal, {0, 0, -1}));
    EXPECT_NEAR(q.constant, -5.0f, 1e-6f);
    EXPECT_NEAR(q.SignedDistance({0, 0, 0}), 5.0f, 1e-6f);
}

TEST(PlaneTest, SignedDistanceAndSide) {
    const Plane near{{0, 0, 1}, 0.1f};
    EXPECT_NEAR(near.SignedDistance({0, 0, 10}), 9.9f, 1e-5f);
    EXPECT_NEAR(near.SignedDistance({3, -4, 0}), -0.1f, 1e-6f);
    const Plane p{{0, 1, 0}, 2};
    EXPECT_EQ(p.WhichSide({0, 3, 0}), 1);
    EXPECT_EQ(p.WhichSide({0, 1, 0}), -1);
    EXPECT_EQ(p.WhichSide({5, 2, -7}), 0);
}

TEST(PlaneTest, CollinearPointsGiveZeroPlane) {
    const Plane p = Plane::FromPoints({1, 1, 1}, {2, 2, 2}, {3, 3, 3});
    EXPECT_EQ(p.normal, (Vector3{}));
    EXPECT_EQ(p.constant, 0.0f);
    EXPECT_EQ(p.WhichSide({4, -1, 9}), 0);
}

}  // namespace
}  // namespace zel
