#include <gtest/gtest.h>

#include "engine/math/Color.h"
#include "engine/math/Vector2.h"
#include "engine/math/Vector3.h"
#include "engine/math/Vector4.h"
#include "support/MathExpect.h"

namespace zel {
namespace {

using test::Near;

// Normalising: the squared-length threshold 1.1920929e-7 decides zero or unit.
TEST(MathVectorTest, NormalizeBelowThresholdGivesZero) {
    // 3e-4 squared is 9e-8, below the threshold; 3.5e-4 squared is above it.
    EXPECT_EQ(Normalize(Vector3{3e-4f, 0, 0}), (Vector3{}));
    EXPECT_EQ(Normalize(Vector3{1.9e-4f, 1.9e-4f, 1.9e-4f}), (Vector3{}));
    EXPECT_TRUE(Near(Normalize(Vector3{3.5e-4f, 0, 0}), {1, 0, 0}));
    EXPECT_TRUE(Near(Normalize(Vector3{0, -3, 4}), {0, -0.6f, 0.8f}));
    EXPECT_EQ(Normalize(Vector2{0, 3e-4f}), (Vector2{}));
    EXPECT_EQ(Normalize(Vector4{0, 0, 0, 3e-4f}), (Vector4{}));
}

TEST(MathVectorTest, NormalizeZeroAndParallelCrossHaveNoNaN) {
    // A look direction straight up: (0, 1, 0) × f is the zero vector.
    const Vector3 right = Normalize(Cross({0, 1, 0}, {0, 3, 0}));
    EXPECT_EQ(right, (Vector3{}));
    EXPECT_EQ(Normalize(Cross({0, 1, 0}, right)), (Vector3{}));
}

// Products: * between vectors is per component; Dot and Cross are named.
TEST(MathVectorTest, ProductsAndCrossOrientation) {
    EXPECT_EQ((Vector3{2, 3, 4} * Vector3{5, 6, 7}), (Vector3{10, 18, 28}));
    EXPECT_EQ(Dot(Vector3{2, 3, 4}, Vector3{5, 6, 7}), 56.0f);
    EXPECT_EQ(Cross({1, 0, 0}, {0, 1, 0}), (Vector3{0, 0, 1}));
    EXPECT_EQ(Cross({0, 1, 0}, {1, 0, 0}), (Vector3{0, 0, -1}));
    EXPECT_EQ(Lerp(Vector3{0, 0, 0}, Vector3{10, 0, -4}, 0.25f), (Vector3{2.5f, 0, -1}));
}

TEST(MathColorTest, DefaultsAndBlend) {
    EXPECT_EQ(ColorRGBA{}.a, 1.0f);
    const ColorRGBA start{1, 0, 0, 1};
    const ColorRGBA end{0, 0, 1, 0};
    EXPECT_EQ(Lerp(start, end, 0.5f), (ColorRGBA{0.5f, 0, 0.5f, 0.5f}));
    EXPECT_EQ((ColorRGB{0.5f, 1, 2} * ColorRGB{2, 0.5f, 0}), (ColorRGB{1, 0.5f, 0}));
}

}  // namespace
}  // namespace zel
