#include <cmath>

#include <gtest/gtest.h>

#include "engine/math/Transform.h"
#include "support/MathExpect.h"

namespace zel {
namespace {

using test::Near;
using test::NearMatrix;

const Quaternion kTurn = Quaternion::FromAxisAngle(Normalize(Vector3{1, 2, -1}), 0.9f);
const Quaternion kOtherTurn = Quaternion::FromAxisAngle(Normalize(Vector3{0, 1, 3}), -2.2f);

Transform Uniform(float s, const Quaternion& r, const Vector3& t) {
    return Transform::Make({s, s, s}, r, t);
}

// Composition shortcuts: an identity operand hands back the other one whole.
TEST(TransformTest, ComposeWithIdentityReturnsOtherOperand) {
    Transform t = Transform::Make({2, 3, 4}, kTurn, {1, 2, 3});
    t.noRotation = true;
    const Transform a = Transform::Compose(Transform::Identity(), t);
    const Transform b = Transform::Compose(t, Transform::Identity());
    for (const Transform* w : {&a, &b}) {
        EXPECT_EQ(w->scale, t.scale);
        EXPECT_EQ(w->rotation, t.rotation);
        EXPECT_EQ(w->translation, t.translation);
        EXPECT_FALSE(w->isIdentity);
        EXPECT_TRUE(w->noRotation);
    }
    const Transform both = Transform::Compose(Transform::Identity(), Transform::Identity());
    EXPECT_TRUE(both.isIdentity && both.noRotation);
}

TEST(TransformTest, FlagsAreTrustedNotDerived) {
    // Identity values with cleared flags (as after loading): the full path runs
    // and the result keeps no flags.
    const Transform loaded = Transform::Make({1, 1, 1}, {}, {});
    const Transform parent = Transform::Make({2, 2, 2}, {}, {0, 1, 0});
    const Transform w = Transform::Compose(loaded, parent);
    EXPECT_FALSE(w.isIdentity);
    EXPECT_FALSE(w.noRotation);
    EXPECT_EQ(w.translation, (Vector3{0, 1, 0}));
    // A set identity flag wins over the stored values.
    Transform flagged = parent;
    flagged.isIdentity = true;
    EXPECT_EQ(flagged.ApplyToPoint({1, 1, 1}), (Vector3{1, 1, 1}));
}

TEST(TransformTest, NonUniformParentScaleHasNoShear) {
    Transform parent = Transform::Make({2, 1, 1}, {}, {});
    parent.noRotation = true;
    Transform child = Transform::Make({1, 3, 0.5f}, {}, {1, 0, 0});
    child.noRotation = true;
    const Transform w = Transform::Compose(child, parent);
    EXPECT_EQ(w.translation, (Vector3{2, 0, 0}));
    EXPECT_EQ(w.scale, (Vector3{2, 3, 0.5f}));
}

TEST(TransformTest, ComposedRotationFollowsFlags) {
    Transform still = Transform::Make({1, 1, 1}, kOtherTurn, {1, 0, 0});
    still.noRotation = true;  // its stored rotation is then ignored
    const Transform turning = Transform::Make({1, 1, 1}, kTurn, {0, 0, 1});
    EXPECT_EQ(Transform::Compose(still, turning).rotation, kTurn);
    EXPECT_EQ(Transform::Compose(turning, still).rotation, kTurn);
    const Transform other = Transform::Make({1, 1, 1}, kOtherTurn, {});
    EXPECT_EQ(Transform::Compose(turning, other).rotation, kTurn * kOtherTurn);
}

TEST(TransformTest, ComposeEqualsApplyingLocalThenParent) {
    const Transform local = Uniform(0.5f, kTurn, {1, -2, 3});
    const Transform parent = Uniform(3, kOtherTurn, {-4, 0, 2});
    const Transform w = Transform::Compose(local, parent);
    for (const Vector3& p : {Vector3{0, 0, 0}, Vector3{1, 2, 3}, Vector3{-5, 0.5f, 2}})
        EXPECT_TRUE(Near(w.ApplyToPoint(p), parent.ApplyToPoint(local.ApplyToPoint(p)), 1e-4f));
    EXPECT_TRUE(NearMatrix(w.ToMatrix(), local.ToMatrix() * parent.ToMatrix(), 1e-4f));
}

// The matrix of a transform, including non-uniform scale under rotation.
TEST(TransformTest, MatrixAgreesWithApplying) {
    const Transform t = Transform::Make({2, -0.5f, 3}, kTurn, {7, 8, 9});
    const Matrix4 m = t.ToMatrix();
    for (const Vector3& p : {Vector3{1, 0, 0}, Vector3{0, 1, 0}, Vector3{0.3f, -2, 5}}) {
        EXPECT_TRUE(Near(m.TransformPoint(p), t.ApplyToPoint(p), 1e-4f));
        EXPECT_TRUE(Near(m.TransformDirection(p), t.ApplyToDirection(p), 1e-4f));
    }
    EXPECT_EQ(m.Column(3), (Vector4{0, 0, 0, 1}));
    EXPECT_EQ(Transform::Identity().ToMatrix(), Matrix4::Identity());
}

TEST(TransformTest, DirectionScalesByXForSphereRadius) {
    const Transform t = Transform::Make({2, 5, 5}, kTurn, {100, 0, 0});
    EXPECT_NEAR(Length(t.ApplyToDirection({1, 0, 0})), 2.0f, 1e-5f);
    EXPECT_TRUE(Near(t.ApplyToDirection({0, 0, 0}), {}));
}

// Undoing a transform.
TEST(TransformTest, InverseApplicationRoundTrips) {
    const Transform t = Transform::Make({2, -0.5f, 3}, kTurn, {7, 8, 9});
    const Vector3 p{0.3f, -2, 5};
    EXPECT_TRUE(Near(t.InverseApplyToPoint(t.ApplyToPoint(p)), p, 1e-4f));
    EXPECT_TRUE(Near(t.InverseApplyToDirection(t.ApplyToDirection(p)), p, 1e-4f));
    const Transform flat = Transform::Make({1, 0, 1}, kTurn, {});
    const Vector3 back = flat.InverseApplyToPoint(flat.ApplyToPoint(p));
    EXPECT_TRUE(std::isfinite(back.y));
    EXPECT_EQ(back.y, 0.0f);
}

TEST(TransformTest, InverseUndoesUniformTransform) {
    const Transform t = Uniform(4, kTurn, {1, 2, 3});
    EXPECT_TRUE(NearMatrix(t.Inverse().ToMatrix(), t.ToMatrix().Inverse(), 1e-5f));
    // A bone whose world transform is the inverse of its offset: identity.
    EXPECT_TRUE(NearMatrix(Transform::Compose(t, t.Inverse()).ToMatrix(), Matrix4::Identity(), 1e-5f));
    Transform scaled = Transform::Make({2, 4, 8}, {}, {2, 4, 8});
    scaled.noRotation = true;
    EXPECT_TRUE(Near(scaled.Inverse().ApplyToPoint({4, 8, 16}), {1, 1, 1}));
}

}  // namespace
}  // namespace zel
