// The sound animation: which key decides, and the calls that start and stop
// the sound node's channel against the recording fake library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeSoundLibrary.h"
#include "support/SoundTestFiles.h"
#include "support/AnimationTestSupport.h"
#include "engine/animation/SoundNodeAnimation.h"
#include "engine/animation/SoundNodeAnimationController.h"
#include "engine/sound/SoundNode.h"
#include "engine/scene/SceneNode.h"

namespace zel {
namespace {

using test::FakeSoundLibrary;
using test::MakeBoolAnimation;
using test::MakeFrame;
using Calls = std::vector<std::string>;

// A sound node with a channel (stream 101) and a controller whose sound
// animation is off on the first half of the track and on on the second.
struct SoundRig {
    SoundRig() : node(new SoundNode()), controller(new SoundNodeAnimationController()) {
        node->LoadSound(files.Add("engine.ogg", "vroom"), false);
        node->AttachController(controller);
        Pointer<SoundNodeAnimation> animation =
            MakeBoolAnimation<SoundNodeAnimation>("switch", {{0.0, false}, {0.5, true}});
        EXPECT_EQ(controller->AddAnimation(animation), kOk);
        EXPECT_EQ(controller->AddFrame(MakeFrame(animation, 0.0, 1.0)), kOk);
        controller->SetTrackPeriod(1.0);
        FakeSoundLibrary::calls.clear();
    }
    void At(double phase) {
        controller->SetPhase(phase);
        controller->Update(0.0);
    }
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    Pointer<SoundNode> node;
    Pointer<SoundNodeAnimationController> controller;
};

TEST(SoundNodeAnimationController, AFalseKeyStopsAPlayingChannel) {
    SoundRig rig;
    FakeSoundLibrary::playing.insert(101);
    rig.At(0.25);
    EXPECT_EQ(FakeSoundLibrary::calls, (Calls{"ChannelIsActive(101)", "ChannelStop(101)", "ChannelStop(101)"}));
    EXPECT_FALSE(rig.node->IsPlaying());
    EXPECT_FALSE(FakeSoundLibrary::IsPlaying(101));
}

TEST(SoundNodeAnimationController, AFalseKeyStillStopsOnceWhenNothingPlays) {
    SoundRig rig;
    rig.At(0.25);
    EXPECT_EQ(FakeSoundLibrary::calls, (Calls{"ChannelIsActive(101)", "ChannelStop(101)"}));
    EXPECT_FALSE(rig.node->IsPlaying());
}

TEST(SoundNodeAnimationController, ATrueKeyStartsAStoppedChannelFromTheBeginning) {
    SoundRig rig;
    rig.node->SetPlaying(false);
    rig.At(0.75);
    EXPECT_EQ(FakeSoundLibrary::calls, (Calls{"ChannelIsActive(101)", "ChannelPlay(101,1)", "ChannelPlay(101,0)"}));
    EXPECT_TRUE(rig.node->IsPlaying());
}

TEST(SoundNodeAnimationController, ATrueKeyDoesNotRestartAPlayingChannel) {
    SoundRig rig;
    FakeSoundLibrary::playing.insert(101);
    rig.At(0.75);
    EXPECT_EQ(FakeSoundLibrary::calls, (Calls{"ChannelIsActive(101)", "ChannelPlay(101,0)"}));
}

TEST(SoundNodeAnimationController, WithoutKeysTheSoundPlays) {
    SoundRig rig;
    Pointer<SoundNodeAnimationController> bare = new SoundNodeAnimationController();
    rig.node->AttachController(bare);
    rig.node->SetPlaying(false);
    bare->Update(0.1);
    EXPECT_TRUE(rig.node->IsPlaying());
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelPlay(101,1)"), 1);
}

TEST(SoundNodeAnimationController, TheLastStageWithKeysDecides) {
    SoundRig rig;
    Pointer<SoundNodeAnimation> on = MakeBoolAnimation<SoundNodeAnimation>("on", {{0.0, true}});
    Pointer<SoundNodeAnimation> off = MakeBoolAnimation<SoundNodeAnimation>("off", {{0.0, false}});
    Pointer<SoundNodeAnimationController> controller = new SoundNodeAnimationController();
    rig.node->AttachController(controller);
    EXPECT_EQ(controller->AddFrame(MakeFrame(on, 0.0, 1.0)), kOk);
    EXPECT_EQ(controller->AddFrame(MakeFrame(off, 0.0, 1.0)), kOk);
    EXPECT_EQ(controller->AddFrame(MakeFrame(on, 0.0, 1.0)), kOk);  // a third frame is never taken
    controller->SetTrackPeriod(1.0);
    controller->Update(0.1);
    EXPECT_FALSE(rig.node->IsPlaying());

    // A stage whose animation has no keys does not vote.
    Pointer<SoundNodeAnimationController> second = new SoundNodeAnimationController();
    rig.node->AttachController(second);
    EXPECT_EQ(second->AddFrame(MakeFrame(on, 0.0, 1.0)), kOk);
    EXPECT_EQ(second->AddFrame(MakeFrame(new SoundNodeAnimation(), 0.0, 1.0)), kOk);
    second->SetTrackPeriod(1.0);
    second->Update(0.1);
    EXPECT_TRUE(rig.node->IsPlaying());
}

TEST(SoundNodeAnimationController, ANodeWithoutChannelOnlyChangesItsFlag) {
    FakeSoundLibrary fake;
    Pointer<SoundNode> node = new SoundNode();
    Pointer<SoundNodeAnimationController> controller = new SoundNodeAnimationController();
    node->AttachController(controller);
    EXPECT_EQ(controller->AddFrame(MakeFrame(MakeBoolAnimation<SoundNodeAnimation>("off", {{0.0, false}}), 0.0, 1.0)), kOk);
    controller->SetTrackPeriod(1.0);
    controller->Update(0.1);
    EXPECT_FALSE(node->IsPlaying());
    EXPECT_TRUE(FakeSoundLibrary::calls.empty());
}

TEST(SoundNodeAnimationController, WithinTheNodeUpdateTheControllerRunsFirst) {
    SoundRig rig;
    rig.controller->SetPhase(0.1);
    rig.node->Update(0.1, false);  // key off: the node's own update plays nothing
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelPlay"), 0);
    EXPECT_EQ(rig.node->GetPlayingTime(), 0.0f);
    rig.controller->SetPhase(0.6);
    FakeSoundLibrary::calls.clear();
    rig.node->Update(0.1, false);
    EXPECT_EQ(FakeSoundLibrary::Filter("ChannelPlay"),
              (Calls{"ChannelPlay(101,1)", "ChannelPlay(101,0)", "ChannelPlay(101,0)"}));
}

TEST(SoundNodeAnimationController, IgnoresOtherOwnersOtherKeysAndTheInactiveState) {
    SoundRig rig;
    rig.controller->SetActive(false);
    rig.At(0.25);
    EXPECT_TRUE(rig.node->IsPlaying());
    EXPECT_TRUE(FakeSoundLibrary::calls.empty());

    Pointer<SceneNode> plain = new SceneNode();
    Pointer<SoundNodeAnimationController> misplaced = new SoundNodeAnimationController();
    plain->AttachController(misplaced);
    misplaced->Update(0.1);
    EXPECT_TRUE(FakeSoundLibrary::calls.empty());

    // Node keys are not on/off keys: no vote, so the sound plays.
    Pointer<SoundNodeAnimationController> nodeKeys = new SoundNodeAnimationController();
    rig.node->AttachController(nodeKeys);
    rig.node->SetPlaying(false);
    EXPECT_EQ(nodeKeys->AddFrame(MakeFrame(test::MakeTranslationAnimation("move", {{0.0, {}}}), 0.0, 1.0)), kOk);
    nodeKeys->SetTrackPeriod(1.0);
    nodeKeys->Update(0.1);
    EXPECT_TRUE(rig.node->IsPlaying());
}

TEST(SoundNodeAnimationController, StreamsAsItsOwnClass) {
    SoundRig rig;
    Pointer<SoundNodeAnimationController> loaded = test::RoundTrip(rig.controller.Get());
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->GetAnimationCount(), 1);
    EXPECT_NE(CastTo<SoundNodeAnimation>(loaded->GetAnimation(0)), nullptr);
    EXPECT_EQ(loaded->GetFrameCount(), 1);
    test::ExpectEveryTruncationFails(rig.controller);
}

}  // namespace
}  // namespace zel
