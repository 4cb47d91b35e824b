// Node animation: interpolated poses, the wrap to the first key, stage
// blending order and weights, slerp's short way and equal inputs, and the
// guards against animations of the wrong kind or stale key pairs.
#include <gtest/gtest.h>

#include <cmath>

#include "support/MathExpect.h"
#include "support/AnimationTestSupport.h"
#include "engine/animation/BoolAnimation.h"
#include "engine/animation/NodeAnimationController.h"
#include "engine/scene/SceneNode.h"
#include "support/TestObjects.h"

namespace zel {
namespace {

using test::MakeFrame;
using test::MakeRotationAnimation;
using test::MakeTranslationAnimation;
using test::Near;

// A node with a node animation controller playing `animation` on the whole
// track (period one second), evaluated at `phase`.
struct Animated {
    explicit Animated(Animation* animation) : node(new SceneNode()), controller(new NodeAnimationController()) {
        EXPECT_EQ(controller->AddAnimation(animation), kOk);
        EXPECT_EQ(controller->AddFrame(MakeFrame(animation, 0.0, 1.0)), kOk);
        controller->SetTrackPeriod(1.0);
        node->AttachController(controller);
    }
    void At(double phase) {
        controller->SetPhase(phase);
        node->Update(0.0, false);
    }
    Pointer<SceneNode> node;
    Pointer<NodeAnimationController> controller;
};

TEST(NodeAnimationController, InterpolatesAndWrapsBackToTheFirstKey) {
    Animated a(MakeTranslationAnimation("slide", {{0.0, {0, 0, 0}}, {0.5, {10, 0, 0}}}));
    struct Case {
        double phase;
        float x;
    };
    for (const Case& c : {Case{0.25, 5}, Case{0.5, 10}, Case{0.6, 8}, Case{0.75, 5}, Case{0.0, 0}}) {
        a.At(c.phase);
        EXPECT_TRUE(Near(a.node->GetLocal().translation, {c.x, 0, 0})) << c.phase;
        EXPECT_TRUE(Near(a.node->GetWorld().translation, {c.x, 0, 0})) << c.phase;
    }
    EXPECT_FALSE(a.node->GetLocal().isIdentity);
    EXPECT_FALSE(a.node->GetLocal().noRotation);
}

TEST(NodeAnimationController, ScaleAndRotationFollowTheKeys) {
    Pointer<NodeAnimation> animation = new NodeAnimation();
    NodeKeyframe* first = new NodeKeyframe();
    first->scale = {1, 1, 1};
    NodeKeyframe* second = new NodeKeyframe();
    second->time = 0.5;
    second->scale = {3, 5, 7};
    second->rotation = Quaternion::FromAxisAngle({0, 0, 1}, 1.0f);
    EXPECT_EQ(animation->AddKey(first), kOk);
    EXPECT_EQ(animation->AddKey(second), kOk);
    Animated a(animation);
    a.At(0.25);
    EXPECT_TRUE(Near(a.node->GetLocal().scale, {2, 3, 4}));
    EXPECT_TRUE(Near(a.node->GetLocal().rotation, Quaternion::FromAxisAngle({0, 0, 1}, 0.5f)));
}

TEST(NodeAnimationController, ZeroWeightLeavesThePoseButClearsTheFlags) {
    Pointer<SceneNode> node = new SceneNode();
    const Transform pose = Transform::Make({2, 2, 2}, Quaternion::FromAxisAngle({1, 0, 0}, 0.3f), {1, 2, 3});
    node->SetLocal(pose);
    node->GetLocal().isIdentity = true;
    node->SetUpdateWorldTransform(false);
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    node->AttachController(controller);
    controller->SetStage(MakeTranslationAnimation("far", {{0.0, {100, 100, 100}}}), 0, 0.0f);
    controller->Update(0.0);
    EXPECT_TRUE(Near(node->GetLocal().translation, pose.translation));
    EXPECT_TRUE(Near(node->GetLocal().scale, pose.scale));
    EXPECT_TRUE(Near(node->GetLocal().rotation, pose.rotation));
    EXPECT_FALSE(node->GetLocal().isIdentity);
    EXPECT_TRUE(node->GetUpdateWorldTransform());
}

TEST(NodeAnimationController, StagesBlendIntoTheRunningResultInOrder) {
    Pointer<SceneNode> node = new SceneNode();
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    node->AttachController(controller);
    EXPECT_EQ(controller->AddFrame(MakeFrame(MakeTranslationAnimation("a", {{0.0, {4, 0, 0}}}), 0.0, 0.6)), kOk);
    EXPECT_EQ(controller->AddFrame(MakeFrame(MakeTranslationAnimation("b", {{0.0, {0, 8, 0}}}), 0.4, 1.0)), kOk);
    controller->SetTrackPeriod(1.0);
    controller->SetPhase(0.55);
    controller->Update(0.0);
    // Weights 0.25 and 0.75: stage 0 moves a quarter of the way from the
    // origin to (4, 0, 0); stage 1 then three quarters of the way from
    // there to (0, 8, 0).
    EXPECT_TRUE(Near(node->GetLocal().translation, {0.25f, 6, 0}, 1e-5f));
}

TEST(NodeAnimationController, OverlappingFramesCrossFadeThroughTheController) {
    Pointer<SceneNode> node = new SceneNode();
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    node->AttachController(controller);
    Pointer<NodeAnimation> left = MakeTranslationAnimation("left", {{0.0, {-10, 0, 0}}});
    Pointer<NodeAnimation> right = MakeTranslationAnimation("right", {{0.0, {10, 0, 0}}});
    EXPECT_EQ(controller->AddFrame(MakeFrame(left, 0.0, 0.6)), kOk);
    EXPECT_EQ(controller->AddFrame(MakeFrame(right, 0.4, 1.0)), kOk);
    controller->SetTrackPeriod(1.0);
    controller->SetPhase(0.3);
    controller->Update(0.0);
    EXPECT_TRUE(Near(node->GetLocal().translation, {-10, 0, 0}));
    controller->SetPhase(0.55);
    controller->Update(0.0);
    // Stage 0 (weight 0.25) pulls from (−10, 0, 0) towards itself, stage 1
    // (0.75) three quarters of the way to (10, 0, 0).
    EXPECT_TRUE(Near(node->GetLocal().translation, {5, 0, 0}, 1e-4f));
    controller->SetPhase(0.8);
    controller->Update(0.0);
    EXPECT_TRUE(Near(node->GetLocal().translation, {10, 0, 0}));
}

// --- Slerp through the controller

TEST(NodeAnimationController, RotationTakesTheShortWayRound) {
    // 350° about z is −10°; written with a negative dot product against the
    // identity, the half-way pose is −5°, not 175°.
    const Quaternion back = Quaternion::FromAxisAngle({0, 0, 1}, 350.0f * kPi / 180.0f);
    ASSERT_LT(Dot(back, Quaternion::Identity()), 0.0f);
    Animated a(MakeRotationAnimation("turn", {{0.0, Quaternion::Identity()}, {0.5, back}}));
    a.At(0.25);
    const Quaternion expected = Quaternion::FromAxisAngle({0, 0, 1}, -5.0f * kPi / 180.0f);
    const Quaternion got = a.node->GetLocal().rotation;
    EXPECT_TRUE(Near(got, expected, 1e-5f) || Near(got, -expected, 1e-5f));
}

TEST(NodeAnimationController, KeysEqualUpToSignReturnTheFirstUnchanged) {
    const Quaternion q = Quaternion::FromAxisAngle(Normalize(Vector3{1, 2, 3}), 0.7f);
    for (const Quaternion& second : {q, -q}) {
        Animated a(MakeRotationAnimation("still", {{0.0, q}, {0.5, second}}));
        a.At(0.2);
        // The stage's slerp returns q exactly; blending it over the identity
        // at weight 1 gives q again.
        EXPECT_TRUE(Near(a.node->GetLocal().rotation, q, 1e-6f));
    }
    // The running pose already equal to the key: nothing moves at all.
    Animated same(MakeRotationAnimation("same", {{0.0, q}}));
    same.node->GetLocal().rotation = q;
    same.At(0.5);
    EXPECT_EQ(same.node->GetLocal().rotation, q);
}

// --- Guards

TEST(NodeAnimationController, IgnoresAnimationsOfAnotherKind) {
    Pointer<SceneNode> node = new SceneNode();
    node->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {1, 2, 3}));
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    node->AttachController(controller);
    controller->SetStage(test::MakeBoolAnimation("flags", {{0.0, false}}), 0, 1.0f);
    controller->Update(0.0);
    EXPECT_EQ(node->GetLocal().translation, (Vector3{1, 2, 3}));
}

TEST(NodeAnimationController, SkipsAStageWhoseKeyPairNoLongerFitsItsAnimation) {
    Pointer<SceneNode> node = new SceneNode();
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    node->AttachController(controller);
    EXPECT_EQ(controller->AddFrame(MakeFrame(MakeTranslationAnimation("four", {{0.0, {}}, {0.25, {}}, {0.5, {}}, {0.75, {}}}),
                                   0.0, 0.95)), kOk);
    controller->SetTrackPeriod(1.0);
    controller->SetPhase(0.9);
    controller->Update(0.0);
    ASSERT_EQ(controller->GetStage(0).key, 3);
    // Swapped without a new search (outside every frame): key 3 of a
    // one-key animation.
    node->GetLocal().translation = {7, 7, 7};
    controller->SetStage(MakeTranslationAnimation("one", {{0.0, {9, 9, 9}}}), 0, 1.0f);
    controller->SetPhase(0.97);
    controller->Update(0.0);
    EXPECT_EQ(node->GetLocal().translation, (Vector3{7, 7, 7}));
}

TEST(NodeAnimationController, NeedsANodeOwnerAndAnActiveFlag) {
    Pointer<test::TestObject> object = new test::TestObject();
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    object->AttachController(controller);
    controller->SetStage(MakeTranslationAnimation("a", {{0.0, {1, 0, 0}}}), 0, 1.0f);
    controller->SetTrackPeriod(1.0);
    controller->Update(0.5);  // nothing to move, nothing breaks
    EXPECT_EQ(controller->GetPhase(), 0.5);

    Animated a(MakeTranslationAnimation("b", {{0.0, {1, 0, 0}}}));
    a.node->SetUpdateWorldTransform(false);
    a.controller->SetActive(false);
    a.At(0.5);
    EXPECT_EQ(a.node->GetLocal().translation, (Vector3{0, 0, 0}));
    EXPECT_FALSE(a.node->GetUpdateWorldTransform());
}

TEST(NodeAnimationController, StreamsAsItsOwnClass) {
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    controller->SetTrackPeriod(3.0);
    Pointer<AnimationController> loaded = test::RoundTrip<AnimationController>(controller);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetRtti(), &NodeAnimationController::TYPE);
    EXPECT_EQ(loaded->GetTrackPeriod(), 3.0);
}

}  // namespace
}  // namespace zel
