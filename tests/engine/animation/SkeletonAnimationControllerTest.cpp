#include <gtest/gtest.h>

#include <string>

#include "support/AnimationTestSupport.h"
#include "engine/animation/NodeAnimationController.h"
#include "engine/animation/SkeletonAnimationController.h"
#include "engine/core/Log.h"
#include "engine/scene/SceneNode.h"
#include "support/MathExpect.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::MakeFrame;
using test::MakeTranslationAnimation;
using test::Near;

// A bone node whose inactive controller owns a walk and a run animation
// (named like the skeleton's), both sliding along x.
struct Bone {
    explicit Bone(float reach) {
        walk = MakeTranslationAnimation("walk", {{0.0, {0, 0, 0}}, {0.5, {reach, 0, 0}}});
        run = MakeTranslationAnimation("run", {{0.0, {0, 0, 0}}, {0.5, {2 * reach, 0, 0}}});
        EXPECT_EQ(controller->AddAnimation(walk), kOk);
        EXPECT_EQ(controller->AddAnimation(run), kOk);
        EXPECT_EQ(controller->AddFrame(MakeFrame(walk, 0.0, 1.0)), kOk);
        controller->SetTrackPeriod(1.0);
        controller->SetActive(false);
        node->AttachController(controller);
    }
    Pointer<SceneNode> node = new SceneNode();
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    Pointer<NodeAnimation> walk;
    Pointer<NodeAnimation> run;
};

struct Skeleton : ::testing::Test {
    Skeleton() {
        own = MakeTranslationAnimation("walk", {{0.0, {0, 0, 0}}});
        EXPECT_EQ(skeleton->AddAnimation(own), kOk);
        EXPECT_EQ(skeleton->AddFrame(MakeFrame(own, 0.0, 1.0)), kOk);
        skeleton->SetTrackPeriod(1.0);
        EXPECT_EQ(skeleton->AddBoneController(first.controller), kOk);
        EXPECT_EQ(skeleton->AddBoneController(nullptr), kOk);
        EXPECT_EQ(skeleton->AddBoneController(second.controller), kOk);
    }
    Bone first{1.0f};
    Bone second{3.0f};
    Pointer<NodeAnimation> own;
    Pointer<SkeletonAnimationController> skeleton = new SkeletonAnimationController();
};

TEST_F(Skeleton, UpdateMovesTheBonesAndLeavesTheirControllersInactive) {
    skeleton->Update(0.25);
    EXPECT_TRUE(Near(first.node->GetLocal().translation, {0.5f, 0, 0}));
    EXPECT_TRUE(Near(second.node->GetLocal().translation, {1.5f, 0, 0}));
    EXPECT_FALSE(first.controller->IsActive());
    EXPECT_DOUBLE_EQ(first.controller->GetPhase(), 0.25);
    // The bone's own controller list does nothing with the inactive one.
    first.node->GetLocal().translation = {};
    first.node->Update(0.25, false);
    EXPECT_EQ(first.node->GetLocal().translation, Vector3{});
    EXPECT_DOUBLE_EQ(first.controller->GetPhase(), 0.25);
}

TEST_F(Skeleton, InactiveSkeletonLeavesTheBonesAlone) {
    skeleton->SetActive(false);
    skeleton->Update(0.25);
    EXPECT_EQ(first.node->GetLocal().translation, Vector3{});
    EXPECT_DOUBLE_EQ(first.controller->GetPhase(), 0.0);
    EXPECT_DOUBLE_EQ(skeleton->GetPhase(), 0.0);
}

TEST_F(Skeleton, StageByNameSwitchesEveryBoneToItsOwnAnimation) {
    skeleton->SetStageByName(String("run"), 1, 0.75f);
    ASSERT_EQ(first.controller->GetStageCount(), 2);
    EXPECT_EQ(first.controller->GetStage(1).animation, first.run);
    EXPECT_EQ(second.controller->GetStage(1).animation, second.run);
    EXPECT_FLOAT_EQ(second.controller->GetStage(1).weight, 0.75f);
    // The skeleton has no "run" of its own: its stage stays empty.
    EXPECT_EQ(skeleton->GetStage(1).animation, nullptr);
}

TEST_F(Skeleton, BoneWithoutTheNamedAnimationEmptiesTheStageAndKeepsItsWeight) {
    skeleton->SetStage(own, 0, 0.5f);
    Bone lone(1.0f);
    lone.controller->SetStage(lone.walk, 0, 0.25f);
    EXPECT_EQ(skeleton->AddBoneController(lone.controller), kOk);
    skeleton->SetStageByName(String("jump"), 0, 0.9f);
    EXPECT_EQ(lone.controller->GetStage(0).animation, nullptr);
    EXPECT_FLOAT_EQ(lone.controller->GetStage(0).weight, 0.25f);
    EXPECT_FLOAT_EQ(skeleton->GetStage(0).weight, 0.9f);
}

TEST_F(Skeleton, LastAnimationOfTheNameWins) {
    Pointer<NodeAnimation> later = MakeTranslationAnimation("run", {{0.0, {5, 5, 5}}});
    EXPECT_EQ(first.controller->AddAnimation(later), kOk);
    skeleton->SetStageByName(String("run"), 0, 1.0f);
    EXPECT_EQ(first.controller->GetStage(0).animation, later);
}

TEST_F(Skeleton, StageWeightAndPhaseReachEveryBone) {
    skeleton->SetStage(own, 1, 0.3f);
    EXPECT_EQ(first.controller->GetStage(1).animation, own);
    EXPECT_FLOAT_EQ(second.controller->GetStage(1).weight, 0.3f);
    skeleton->SetStageWeight(1, 0.6f);
    EXPECT_FLOAT_EQ(first.controller->GetStage(1).weight, 0.6f);
    skeleton->SetStageWeight(4, 0.1f);  // no such stage anywhere: nothing
    EXPECT_EQ(first.controller->GetStageCount(), 2);
    skeleton->SetPhase(0.4);
    EXPECT_DOUBLE_EQ(first.controller->GetPhase(), 0.4);
    EXPECT_DOUBLE_EQ(second.controller->GetPhase(), 0.4);
}

TEST_F(Skeleton, ResetEmptiesTheBonesStagesButKeepsTheirPhases) {
    skeleton->Update(0.25);
    ASSERT_GT(first.controller->GetStageCount(), 0);
    skeleton->Reset();
    EXPECT_EQ(skeleton->GetStageCount(), 0);
    EXPECT_DOUBLE_EQ(skeleton->GetPhase(), 0.0);
    EXPECT_EQ(first.controller->GetStageCount(), 0);
    EXPECT_DOUBLE_EQ(first.controller->GetPhase(), 0.25);
}

TEST_F(Skeleton, ASkeletonAmongItsOwnBonesDoesNotRecurse) {
    EXPECT_EQ(skeleton->AddBoneController(skeleton), kOk);
    skeleton->Update(0.25);
    EXPECT_TRUE(skeleton->IsActive());
    EXPECT_DOUBLE_EQ(skeleton->GetPhase(), 0.25);
    skeleton->SetStageByName(String("walk"), 0, 1.0f);
    skeleton->Reset();
    EXPECT_EQ(skeleton->FindByName(String("absent")), nullptr);
    ObjectArray found;
    skeleton->CollectByType(SkeletonAnimationController::TYPE, found);
    EXPECT_EQ(found.Count(), 1);
    skeleton->ClearBoneControllers();  // the cycle of references would keep it alive
    EXPECT_EQ(skeleton->GetBoneControllerCount(), 0);
}

TEST_F(Skeleton, FindByNameReachesTheBoneControllersAnimations) {
    first.run->SetName(String("sprint"));
    EXPECT_EQ(skeleton->FindByName(String("sprint")), first.run.Get());
}

TEST_F(Skeleton, RoundTripKeepsTheBoneControllers) {
    Pointer<SkeletonAnimationController> loaded = test::RoundTrip(skeleton.Get());
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->GetBoneControllerCount(), 3);
    EXPECT_EQ(loaded->GetBoneController(1), nullptr);
    ASSERT_NE(loaded->GetBoneController(2), nullptr);
    EXPECT_EQ(loaded->GetBoneController(2)->GetAnimationCount(), 2);
    EXPECT_EQ(loaded->GetAnimationCount(), 1);
    test::ExpectEveryTruncationFails(skeleton);
}

TEST_F(Skeleton, AFailedBoneControllerIsReported) {
    skeleton->SetName(String("rig"));
    Stream stream(0, 1024);
    ASSERT_EQ(skeleton->Save(stream), 0);
    Stream cut(stream.GetPosition() - 1, 1);
    cut.Write(stream.GetBuffer(), stream.GetPosition() - 1);
    cut.Rewind();
    test::LogCapture capture;
    Pointer<SkeletonAnimationController> loaded = new SkeletonAnimationController();
    EXPECT_NE(loaded->Load(cut), kOk);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить контроллер анимации костей. Имя[rig] ID["));
}

}  // namespace
}  // namespace zel
