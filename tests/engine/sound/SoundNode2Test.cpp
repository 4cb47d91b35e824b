// SoundNode2: loading both sounds, the random switching between them (the
// first update already plays, intervals within base ± spread, no endless
// loop on degenerate intervals), 3D placement, and streaming.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/AnimationTestSupport.h"
#include "support/CurrentRenderer.h"
#include "support/FakeSoundLibrary.h"
#include "support/SoundTestFiles.h"
#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/sound/SoundNode2.h"
#include "engine/scene/Camera.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::FakeSoundLibrary;

struct Pair {
    Pair() {
        files.Add("thunder1.ogg", "boom");
        files.Add("thunder2.ogg", "crack!");
        node = new SoundNode2(String("storm"));
        node->SetFileNames(String("thunder1.ogg"), String("thunder2.ogg"));
    }
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    Pointer<SoundNode2> node;
};

TEST(SoundNode2, LoadSoundsMakesTwoStreamsThatDoNotLoop) {
    Pair pair;
    pair.node->Set3D(true);
    ASSERT_EQ(pair.node->LoadSounds(), kOk);
    EXPECT_EQ(pair.node->GetStream(0), 101u);
    EXPECT_EQ(pair.node->GetStream(1), 102u);
    const std::vector<std::string> expected = {
        "StreamCreateFile(1,0,4,8)=101",
        "StreamCreateFile(1,0,6,8)=102",
        "ChannelSetFlags(101,0)",
        "ChannelSetFlags(102,0)",
        "Apply3D()",
        "ChannelSet3DAttributes(101,0,3.40282e+38,-1,-1,-1,-1)",
        "ChannelSet3DAttributes(102,0,3.40282e+38,-1,-1,-1,-1)",
        "Apply3D()",
    };
    EXPECT_EQ(FakeSoundLibrary::calls, expected);
    EXPECT_EQ(FakeSoundLibrary::streamData[1], "crack!");

    FakeSoundLibrary::calls.clear();
    pair.node->LoadSounds();
    EXPECT_EQ(FakeSoundLibrary::calls[0], "StreamFree(101)");
    EXPECT_EQ(FakeSoundLibrary::calls[1], "StreamFree(102)");
}

TEST(SoundNode2, WithOnlyOneFileNothingPlays) {
    Pair pair;
    pair.node->SetFileNames(String("thunder1.ogg"), String("missing.ogg"));
    pair.node->LoadSounds();
    EXPECT_NE(pair.node->GetStream(0), 0u);
    EXPECT_EQ(pair.node->GetStream(1), 0u);
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelSetFlags"), 0);
    for (int i = 0; i < 5; ++i) pair.node->Update(1.0, false);
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelPlay"), 0);
    EXPECT_EQ(pair.node->GetTimer(), 0.0f);

    pair.node->SetFileNames(String(), String("thunder2.ogg"));
    pair.node->LoadSounds();
    pair.node->Update(1.0, false);
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelPlay"), 0);
}

TEST(SoundNode2, TheFirstUpdatePlaysOneSoundAndStopsTheOther) {
    Pair pair;
    pair.node->LoadSounds();
    FakeSoundLibrary::calls.clear();
    std::srand(7);
    pair.node->Update(0.01, false);
    const std::vector<std::string> plays = FakeSoundLibrary::Filter("Channel");
    ASSERT_EQ(plays.size(), 2u);
    const bool second = plays[0] == "ChannelPlay(102,1)";
    EXPECT_EQ(plays[0], second ? "ChannelPlay(102,1)" : "ChannelPlay(101,1)");
    EXPECT_EQ(plays[1], second ? "ChannelStop(101)" : "ChannelStop(102)");
    EXPECT_EQ(pair.node->GetCurrentStream(), second ? 102u : 101u);
    EXPECT_EQ(pair.node->GetNextInterval(), 1.0f);  // no spread
}

TEST(SoundNode2, IntervalsStayWithinBasePlusOrMinusSpread) {
    Pair pair;
    pair.node->SetInterval(2.0f, 0.5f);
    pair.node->LoadSounds();
    std::srand(12345);
    float lowest = 10.0f, highest = 0.0f;
    bool sawFirst = false, sawSecond = false;
    for (int i = 0; i < 400; ++i) {
        FakeSoundLibrary::calls.clear();
        pair.node->Update(2.5, false);  // at most one interval runs out per update
        const float interval = pair.node->GetNextInterval();
        EXPECT_GE(interval, 1.5f);
        EXPECT_LE(interval, 2.5f);
        lowest = std::min(lowest, interval);
        highest = std::max(highest, interval);
        sawFirst |= pair.node->GetCurrentStream() == 101u;
        sawSecond |= pair.node->GetCurrentStream() == 102u;
    }
    EXPECT_LT(lowest, 1.6f);
    EXPECT_GT(highest, 2.4f);
    EXPECT_TRUE(sawFirst && sawSecond);
}

// Seen from the library: in scene time, the restarts come at most one
// frame off base +/- spread apart.
TEST(SoundNode2, RestartsReachTheLibraryAtIntervalsWithinBasePlusOrMinusSpread) {
    Pair pair;
    pair.node->SetInterval(2.0f, 0.5f);
    pair.node->LoadSounds();
    std::srand(2024);
    constexpr double kFrame = 0.01;
    std::vector<double> restarts;
    for (int frame = 1; frame <= 20000; ++frame) {
        FakeSoundLibrary::calls.clear();
        pair.node->Update(kFrame, false);
        for (const std::string& call : FakeSoundLibrary::Filter("ChannelPlay")) {
            EXPECT_TRUE(call == "ChannelPlay(101,1)" || call == "ChannelPlay(102,1)") << call;
            restarts.push_back(frame * kFrame);
        }
    }
    ASSERT_GT(restarts.size(), 70u);  // 200 seconds of scene time
    double lowest = 10.0, highest = 0.0;
    for (size_t i = 1; i < restarts.size(); ++i) {
        const double interval = restarts[i] - restarts[i - 1];
        EXPECT_GE(interval, 1.5 - kFrame - 1e-6) << i;
        EXPECT_LE(interval, 2.5 + kFrame + 1e-6) << i;
        lowest = std::min(lowest, interval);
        highest = std::max(highest, interval);
    }
    EXPECT_LT(lowest, 1.65);
    EXPECT_GT(highest, 2.35);
}

TEST(SoundNode2, TheTimerCarriesTheRemainder) {
    Pair pair;
    pair.node->LoadSounds();
    pair.node->Update(0.25, false);  // plays; the next interval is 1 second
    EXPECT_FLOAT_EQ(pair.node->GetTimer(), 0.25f);
    FakeSoundLibrary::calls.clear();
    pair.node->Update(0.5, false);
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelPlay"), 0);
    pair.node->Update(0.5, false);
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelPlay"), 1);
    EXPECT_FLOAT_EQ(pair.node->GetTimer(), 0.25f);
    FakeSoundLibrary::calls.clear();
    pair.node->Update(3.0, false);  // three intervals in one frame
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelPlay"), 3);
}

TEST(SoundNode2, DegenerateIntervalsCannotHoldTheUpdate) {
    struct Case {
        float base, spread;
        int maxPlays;
    };
    for (const Case& c : {Case{0.0f, 0.0f, 1}, Case{-1.0f, 0.0f, 1}, Case{1e-30f, 0.0f, SoundNode2::kMaxSwitchesPerUpdate}}) {
        Pair pair;
        pair.node->SetInterval(c.base, c.spread);
        pair.node->LoadSounds();
        for (int i = 0; i < 3; ++i) {
            FakeSoundLibrary::calls.clear();
            pair.node->Update(0.5, false);
            EXPECT_GE(FakeSoundLibrary::Count("ChannelPlay"), 1) << c.base;
            EXPECT_LE(FakeSoundLibrary::Count("ChannelPlay"), c.maxPlays) << c.base;
        }
    }
}

TEST(SoundNode2, TheCurrentSoundFollowsTheNodeRelativeToTheCamera) {
    Pair pair;
    test::CurrentRenderer renderer;
    Pointer<Camera> camera = new Camera();
    camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {0, 1, 0}));
    camera->Update(0, false);
    renderer->SetCamera(camera);
    pair.node->Set3D(true);
    pair.node->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {2, 1, 5}));
    pair.node->LoadSounds();
    FakeSoundLibrary::calls.clear();
    pair.node->Update(0.1, false);
    const std::string current = std::to_string(pair.node->GetCurrentStream());
    EXPECT_EQ(FakeSoundLibrary::Filter("ChannelSet3DPosition"),
              (std::vector<std::string>{"ChannelSet3DPosition(" + current + ",2 0 5,null,null)"}));
    EXPECT_EQ(FakeSoundLibrary::calls.back(), "Apply3D()");
}

TEST(SoundNode2, VolumeAndDistanceReachBothStreams) {
    Pair pair;
    pair.node->LoadSounds();
    FakeSoundLibrary::calls.clear();
    pair.node->SetVolume(35);
    pair.node->SetMinDistance(4.0f);
    const std::vector<std::string> expected = {
        "ChannelSetAttributes(101,-1,35,-101)",
        "ChannelSetAttributes(102,-1,35,-101)",
        "ChannelSet3DAttributes(101,0,4,-1,-1,-1,-1)",
        "ChannelSet3DAttributes(102,0,4,-1,-1,-1,-1)",
        "Apply3D()",
    };
    EXPECT_EQ(FakeSoundLibrary::calls, expected);
}

TEST(SoundNode2, RoundTripReloadsBothSounds) {
    Pair pair;
    pair.node->Set3D(true);
    pair.node->SetVolume(80);
    pair.node->SetMinDistance(9.0f);
    pair.node->SetInterval(3.0f, 1.5f);
    Pointer<SoundNode2> loaded = test::RoundTrip(pair.node.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->GetName().CStr(), "storm");
    EXPECT_STREQ(loaded->GetFileName(0).CStr(), "thunder1.ogg");
    EXPECT_STREQ(loaded->GetFileName(1).CStr(), "thunder2.ogg");
    EXPECT_TRUE(loaded->Is3D());
    EXPECT_EQ(loaded->GetVolume(), 80);
    EXPECT_EQ(loaded->GetMinDistance(), 9.0f);
    EXPECT_EQ(loaded->GetBaseInterval(), 3.0f);
    EXPECT_EQ(loaded->GetIntervalSpread(), 1.5f);
    EXPECT_NE(loaded->GetStream(0), 0u);
    EXPECT_NE(loaded->GetStream(1), 0u);
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelSetAttributes"), 2);
}

TEST(SoundNode2, SaveLayoutAndTruncation) {
    Pointer<SoundNode2> node = new SoundNode2();
    node->SetFileNames(String("a"), String("bc"));
    node->SetMinDistance(2.0f);
    node->Set3D(true);
    node->SetVolume(7);
    node->SetInterval(1.25f, 0.5f);
    Stream reference(0, 256);
    ASSERT_EQ(node->Node::Save(reference), 0);
    Stream stream(0, 256);
    ASSERT_EQ(node->Save(stream), 0);
    const int32_t saved = stream.GetPosition();
    stream.Rewind();
    for (int32_t i = 0; i < reference.GetPosition(); ++i) {
        uint8_t byte = 0;
        stream.ReadUInt8(byte);
    }
    String first, second;
    float distance = 0, base = 0, spread = 0;
    bool is3D = false;
    int32_t volume = 0;
    stream.ReadString(first);
    stream.ReadString(second);
    stream.ReadFloat(distance);
    stream.ReadBool(is3D);
    stream.ReadInt32(volume);
    stream.ReadFloat(base);
    stream.ReadFloat(spread);
    ASSERT_EQ(stream.GetErrorState(), 0);
    EXPECT_STREQ(first.CStr(), "a");
    EXPECT_STREQ(second.CStr(), "bc");
    EXPECT_EQ(distance, 2.0f);
    EXPECT_TRUE(is3D);
    EXPECT_EQ(volume, 7);
    EXPECT_EQ(base, 1.25f);
    EXPECT_EQ(spread, 0.5f);
    EXPECT_EQ(stream.GetPosition(), saved);

    test::LogCapture capture;
    test::ExpectEveryTruncationFails(node);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить данные источника звука. ID["));
}

}  // namespace
}  // namespace zel
