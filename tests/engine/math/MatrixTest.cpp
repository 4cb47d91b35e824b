#include <cmath>

#include <gtest/gtest.h>

#include "engine/math/Matrix3.h"
#include "engine/math/Matrix4.h"
#include "support/MathExpect.h"

namespace zel {
namespace {

using test::Near;
using test::NearMatrix;

// A general matrix with a perspective column, so no element is trivial.
const Matrix4 kGeneral{2, 1, 0, 0.5f,  -1, 3, 1, 0,  0.5f, 0, 1, 1,  4, -2, 3, 1};

// Conventions: row vectors on the left, translation in row 3, A · B = A then B.
TEST(MathMatrixTest, RowVectorConventionAndProductOrder) {
    const Matrix4 t = Matrix4::Translation({1, 2, 3});
    EXPECT_EQ(t.m[3][0], 1.0f);
    EXPECT_EQ(t.m[3][2], 3.0f);
    const Matrix4 s = Matrix4::Scaling({2, 2, 2});
    // Translate, then scale: (p + t) × 2.
    EXPECT_TRUE(Near((t * s).TransformPoint({1, 1, 1}), {4, 6, 8}));
    EXPECT_TRUE(Near((s * t).TransformPoint({1, 1, 1}), {3, 4, 5}));
    EXPECT_TRUE(Near(t.TransformDirection({1, 1, 1}), {1, 1, 1}));
}

TEST(MathMatrixTest, TransformCoordDividesByW) {
    // The camera's default projection: depth 0 at the near distance 0.1.
    const float q = 10000.0f / (10000.0f - 0.1f);
    Matrix4 p = Matrix4::Zero();
    p.m[0][0] = p.m[1][1] = 1;
    p.m[2][2] = q;
    p.m[2][3] = 1;
    p.m[3][2] = -0.1f * q;
    p.m[3][3] = 1;
    EXPECT_NEAR(p.TransformCoord({0, 0, 0.1f}).z, 0.0f, 1e-6f);
    EXPECT_NEAR(p.TransformCoord({0, 0, 109999.0f}).z, 1.0f, 1e-4f);
    EXPECT_TRUE(Near(p.TransformCoord({2, 4, 1}), {1, 2, p.TransformPoint({2, 4, 1}).z / 2}));
}

TEST(MathMatrixTest, InverseOfGeneralMatrixBothSides) {
    const Matrix4 inv = kGeneral.Inverse();
    EXPECT_TRUE(NearMatrix(kGeneral * inv, Matrix4::Identity()));
    EXPECT_TRUE(NearMatrix(inv * kGeneral, Matrix4::Identity()));
    EXPECT_NEAR(kGeneral.Determinant() * inv.Determinant(), 1.0f, 1e-5f);
}

// Singular: |det| at most 1.1920929e-7 inverts to the zero matrix.
TEST(MathMatrixTest, SingularMatricesInvertToZero) {
    Matrix4 rankThree = kGeneral;
    for (int j = 0; j < 4; ++j) rankThree.m[2][j] = rankThree.m[0][j] + 2 * rankThree.m[1][j];
    EXPECT_EQ(rankThree.Inverse(), Matrix4::Zero());
    EXPECT_EQ(Matrix4::Zero().Inverse(), Matrix4::Zero());

    // Exactly at the threshold still counts as singular; twice it does not.
    EXPECT_EQ(Matrix4::Scaling({1, 1, 1.1920929e-7f}).Inverse(), Matrix4::Zero());
    EXPECT_EQ(Matrix4::Scaling({1, 1, -1.1920929e-7f}).Inverse(), Matrix4::Zero());
    const Matrix4 small = Matrix4::Scaling({1, 1, 2.4e-7f}).Inverse();
    EXPECT_NEAR(small.m[2][2] * 2.4e-7f, 1.0f, 1e-5f);

    // A uniformly tiny but perfectly regular scale is refused as well.
    EXPECT_EQ(Matrix3::FromRows({0.004f, 0, 0}, {0, 0.004f, 0}, {0, 0, 0.004f}).Inverse(), Matrix3::Zero());
}

TEST(MathMatrixTest, Matrix3InverseAndBases) {
    const Matrix3 m{2, 0, 1, 1, 3, 0, 0, -1, 1};
    EXPECT_NEAR(m.Determinant(), 5.0f, 1e-6f);
    EXPECT_TRUE(NearMatrix(m * m.Inverse(), Matrix3::Identity()));
    EXPECT_EQ(Matrix3::FromRows({1, 2, 3}, {4, 5, 6}, {7, 8, 10}).Column(2), (Vector3{3, 6, 10}));
    EXPECT_EQ(Matrix3::FromColumns({1, 2, 3}, {4, 5, 6}, {7, 8, 9}).Row(0), (Vector3{1, 4, 7}));
    EXPECT_EQ(Matrix3::FromRows({1, 2, 3}, {4, 5, 6}, {7, 8, 9}).Inverse(), Matrix3::Zero());
    // (1, 0, 0) · M picks row 0.
    EXPECT_EQ((Vector3{1, 0, 0} * m), m.Row(0));
}

}  // namespace
}  // namespace zel
