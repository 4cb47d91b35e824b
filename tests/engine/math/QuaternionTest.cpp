#include <cmath>

#include <gtest/gtest.h>

#include "engine/math/MathConstants.h"
#include "engine/math/Quaternion.h"
#include "support/MathExpect.h"

namespace zel {
namespace {

using test::Near;
using test::NearMatrix;

// Equal as rotations: q and −q are the same.
testing::AssertionResult SameRotation(const Quaternion& a, const Quaternion& b) {
    return Dot(a, b) < 0 ? Near(a, -b) : Near(a, b);
}

// A spread of rotations: small and large angles, and the half turns, whose
// w is 0 and which take each of the conversion's axis branches.
const Quaternion kSamples[] = {
    Quaternion::FromAxisAngle({0, 0, 1}, 0.3f),
    Quaternion::FromAxisAngle(Normalize(Vector3{1, 2, 3}), 2.5f),
    Quaternion::FromAxisAngle(Normalize(Vector3{-1, 0.5f, 0.2f}), -1.7f),
    {1, 0, 0, 0},
    {0, 1, 0, 0},
    {0, 0, 1, 0},
    Quaternion{0.5f, -0.5f, 0.5f, -0.5f},
    Quaternion::FromAxisAngle(Normalize(Vector3{0.1f, 1, 0}), 3.1f),
};

// Conversion to and from rotation matrices.
TEST(QuaternionTest, MatrixRoundTrips) {
    for (const Quaternion& q : kSamples) {
        const Matrix3 m = q.ToMatrix();
        EXPECT_TRUE(NearMatrix(m * m.Transposed(), Matrix3::Identity()));
        EXPECT_NEAR(m.Determinant(), 1.0f, 1e-5f);
        EXPECT_TRUE(SameRotation(Quaternion::FromMatrix(m), q));
        EXPECT_TRUE(NearMatrix(Quaternion::FromMatrix(m).ToMatrix(), m));
    }
    EXPECT_EQ(Quaternion::Identity().ToMatrix(), Matrix3::Identity());
}

TEST(QuaternionTest, BasisWithGivenColumnsRoundTrips) {
    // The look-along construction: columns right, up, forward.
    const Vector3 f = Normalize(Vector3{1, -2, 2});
    const Vector3 r = Normalize(Cross({0, 1, 0}, f));
    const Vector3 u = Normalize(Cross(f, r));
    const Matrix3 m = Quaternion::FromMatrix(Matrix3::FromColumns(r, u, f)).ToMatrix();
    EXPECT_TRUE(Near(m.Column(0), r));
    EXPECT_TRUE(Near(m.Column(1), u));
    EXPECT_TRUE(Near(m.Column(2), f));
}

TEST(QuaternionTest, DegenerateBasisGivesFiniteQuaternion) {
    // Looking straight up leaves the right and up axes zero.
    const Quaternion q = Quaternion::FromMatrix(Matrix3::FromColumns({}, {}, {0, 1, 0}));
    EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w));
}

// Product order: a * b is "a, then b", as for row-vector matrices.
TEST(QuaternionTest, ProductMatchesMatrixProduct) {
    const Quaternion a = kSamples[1];
    const Quaternion b = kSamples[2];
    EXPECT_TRUE(NearMatrix((a * b).ToMatrix(), a.ToMatrix() * b.ToMatrix()));
    // Plain Hamilton units: i · j = k, j · i = −k.
    EXPECT_EQ((Quaternion{1, 0, 0, 0} * Quaternion{0, 1, 0, 0}), (Quaternion{0, 0, 1, 0}));
    EXPECT_EQ((Quaternion{0, 1, 0, 0} * Quaternion{1, 0, 0, 0}), (Quaternion{0, 0, -1, 0}));
}

TEST(QuaternionTest, AxisAngleTurnsLikeDirect3DMatrices) {
    const Matrix3 z = Quaternion::FromAxisAngle({0, 0, 1}, kHalfPi).ToMatrix();
    EXPECT_TRUE(Near(Vector3{1, 0, 0} * z, {0, 1, 0}));
    const float a = 0.4f, c = std::cos(a), s = std::sin(a);
    const Matrix3 rotX{1, 0, 0, 0, c, s, 0, -s, c};
    const Matrix3 rotY{c, 0, -s, 0, 1, 0, s, 0, c};
    EXPECT_TRUE(NearMatrix(Quaternion::FromAxisAngle({1, 0, 0}, a).ToMatrix(), rotX));
    EXPECT_TRUE(NearMatrix(Quaternion::FromAxisAngle({0, 1, 0}, a).ToMatrix(), rotY));
}

TEST(QuaternionTest, NormalizeFollowsVectorRule) {
    EXPECT_TRUE(Near(Quaternion{0, 0, 3, 4}.Normalized(), {0, 0, 0.6f, 0.8f}));
    EXPECT_EQ((Quaternion{0, 0, 0, 3e-4f}.Normalized()), (Quaternion{0, 0, 0, 0}));
}

// Slerp(t, a, b): short way round, a returned for (nearly) equal inputs.
TEST(QuaternionTest, SlerpEndpointsAndMidpoint) {
    const Quaternion a = Quaternion::FromAxisAngle({0, 1, 0}, 0.2f);
    const Quaternion b = Quaternion::FromAxisAngle({0, 1, 0}, 1.4f);
    EXPECT_TRUE(Near(Quaternion::Slerp(0, a, b), a));
    EXPECT_TRUE(Near(Quaternion::Slerp(1, a, b), b));
    EXPECT_TRUE(Near(Quaternion::Slerp(0.5f, a, b), Quaternion::FromAxisAngle({0, 1, 0}, 0.8f)));
    // Not renormalised: the end point keeps b's length.
    const Quaternion half = b * 0.5f;
    EXPECT_NEAR(std::sqrt(Dot(Quaternion::Slerp(1, a, half), Quaternion::Slerp(1, a, half))), 0.5f, 1e-5f);
}

TEST(QuaternionTest, SlerpTakesShortWay) {
    // b is 0.6 rad away from a, but stored with the opposite sign.
    const Quaternion a = Quaternion::FromAxisAngle({1, 0, 0}, 0.1f);
    const Quaternion b = -Quaternion::FromAxisAngle({1, 0, 0}, 0.7f);
    ASSERT_LT(Dot(a, b), 0.0f);
    EXPECT_TRUE(SameRotation(Quaternion::Slerp(0.5f, a, b), Quaternion::FromAxisAngle({1, 0, 0}, 0.4f)));
    // On the short arc the result stays on a's side.
    EXPECT_GT(Dot(Quaternion::Slerp(0.5f, a, b), a), 0.0f);
    EXPECT_TRUE(Near(Quaternion::Slerp(1, a, b), -b));
}

TEST(QuaternionTest, SlerpOfEqualInputsReturnsFirstExactly) {
    const Quaternion a = kSamples[1];
    EXPECT_EQ(Quaternion::Slerp(0.7f, a, a), a);
    EXPECT_EQ(Quaternion::Slerp(0.7f, a, -a), a);
    // Within the tolerance: still a itself, not a blend towards b.
    const Quaternion identity;
    const Quaternion close = Quaternion::FromAxisAngle({0, 0, 1}, 6e-4f);
    EXPECT_EQ(Quaternion::Slerp(1, identity, close), identity);
}

}  // namespace
}  // namespace zel
