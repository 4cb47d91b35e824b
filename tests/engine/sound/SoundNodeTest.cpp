// SoundNode: loading its sound from the file system, the calls it makes on
// the library for each setting, the frame update (play on, playing time,
// 3D position relative to the camera), streaming, and silence without the
// library or the file.
#include <gtest/gtest.h>

#include <string>

#include "support/StreamRoundTrip.h"
#include "support/AnimationTestSupport.h"
#include "support/CurrentRenderer.h"
#include "support/FakeSoundLibrary.h"
#include "support/SoundTestFiles.h"
#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/sound/SoundNode.h"
#include "engine/scene/Camera.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::FakeSoundLibrary;
using test::LogCapture;

using test::RoundTrip;

TEST(SoundNode, LoadSoundMakesAStreamOverACopyAndAppliesTheSettings) {
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    File* file = files.Add("rain.ogg", "OggS-rain");
    Pointer<SoundNode> node = new SoundNode();
    node->SetLoop(true);
    node->SetMinDistance(5.0f);
    EXPECT_TRUE(FakeSoundLibrary::calls.empty());  // nothing to call without a stream

    ASSERT_EQ(node->LoadSound(file, true), kOk);
    EXPECT_EQ(node->GetStream(), 101u);
    EXPECT_TRUE(node->Is3D());
    EXPECT_STREQ(node->GetFileName().CStr(), "rain.ogg");
    EXPECT_FALSE(file->IsOpen());
    EXPECT_EQ(FakeSoundLibrary::streamData[0], "OggS-rain");
    const std::vector<std::string> expected = {
        "StreamCreateFile(1,0,9,8)=101",
        "ChannelSetFlags(101,4)",
        "Apply3D()",
        "ChannelSet3DAttributes(101,0,5,-1,-1,-1,-1)",
        "Apply3D()",
    };
    EXPECT_EQ(FakeSoundLibrary::calls, expected);

    // Reloading frees the old stream first; a 2D sound has no 3D flag.
    FakeSoundLibrary::calls.clear();
    node->SetLoop(false);
    ASSERT_EQ(node->LoadSound(file, false), kOk);
    EXPECT_EQ(FakeSoundLibrary::calls[1], "StreamFree(101)");
    EXPECT_EQ(FakeSoundLibrary::calls[2], "StreamCreateFile(1,0,9,0)=102");
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelSetFlags(102,0)"), 1);
}

TEST(SoundNode, LoadSoundRefusesMissingAndEmptyFiles) {
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    Pointer<SoundNode> node = new SoundNode();
    EXPECT_EQ(node->LoadSound(nullptr, false), kInvalidArgument);
    EXPECT_EQ(node->LoadSound(files.Add("empty.ogg", ""), false), kInvalidArgument);
    EXPECT_EQ(node->GetStream(), 0u);
    EXPECT_EQ(FakeSoundLibrary::Count("StreamCreateFile"), 0);
}

// A stream the library refuses is a warning; without any library the node
// is silent without one (the sound manager said so once).
TEST(SoundNode, AStreamTheLibraryRefusesIsAWarningAndSilence) {
    for (const bool withLibrary : {true, false}) {
        FakeSoundLibrary fake;
        FakeSoundLibrary::refuseStreams = true;
        if (!withLibrary) ClearSoundLibrary();
        test::MountedSoundFiles files;
        Pointer<SoundNode> node = new SoundNode();
        LogCapture capture;
        EXPECT_EQ(node->LoadSound(files.Add("bad.ogg", "junk"), false), kOk);
        EXPECT_EQ(capture->Contains(kLogWarning, "Невозможно загрузить файл звука [bad.ogg]"), withLibrary);
        EXPECT_EQ(node->GetStream(), 0u);
        node->Update(1.0, false);
        EXPECT_EQ(FakeSoundLibrary::Count("ChannelPlay"), 0);
        EXPECT_EQ(node->GetPlayingTime(), 0.0f);
    }
}

TEST(SoundNode, SettersStoreAndCallOnlyWithAStream) {
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    Pointer<SoundNode> node = new SoundNode();
    node->SetVolume(30);
    EXPECT_EQ(node->GetVolume(), 30);
    EXPECT_TRUE(FakeSoundLibrary::calls.empty());
    node->LoadSound(files.Add("a.ogg", "a"), false);
    FakeSoundLibrary::calls.clear();
    node->SetVolume(70);
    node->SetLoop(true);
    node->SetMinDistance(2.0f);
    const std::vector<std::string> expected = {
        "ChannelSetAttributes(101,-1,70,-101)",
        "ChannelSetFlags(101,4)",
        "ChannelSet3DAttributes(101,0,2,-1,-1,-1,-1)",
        "Apply3D()",
    };
    EXPECT_EQ(FakeSoundLibrary::calls, expected);
}

TEST(SoundNode, UpdatePlaysOnEveryFrameWhilePlaying) {
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    Pointer<SoundNode> node = new SoundNode();
    node->LoadSound(files.Add("a.ogg", "a"), false);
    FakeSoundLibrary::calls.clear();
    node->Update(0.5, false);
    node->Update(0.25, false);
    EXPECT_EQ(FakeSoundLibrary::Filter("ChannelPlay"),
              (std::vector<std::string>{"ChannelPlay(101,0)", "ChannelPlay(101,0)"}));
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelSet3DPosition"), 0);
    EXPECT_FLOAT_EQ(node->GetPlayingTime(), 0.75f);
}

TEST(SoundNode, AClearedPlayingFlagNeverPlays) {
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    Pointer<SoundNode> node = new SoundNode();
    node->LoadSound(files.Add("a.ogg", "a"), true);
    node->SetPlaying(false);
    for (int i = 0; i < 3; ++i) node->Update(0.1, false);
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelPlay"), 0);
    EXPECT_EQ(node->GetPlayingTime(), 0.0f);
}

TEST(SoundNode, A3DSoundIsPlacedRelativeToTheCurrentCamera) {
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    test::CurrentRenderer renderer;
    Pointer<Camera> camera = new Camera();
    camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {1, 2, 3}));
    camera->Update(0, false);
    renderer->SetCamera(camera);

    Pointer<SoundNode> node = new SoundNode();
    node->LoadSound(files.Add("a.ogg", "a"), true);
    node->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {1, 2, 3}));
    FakeSoundLibrary::calls.clear();
    node->Update(0.1, false);
    const std::vector<std::string> expected = {
        "ChannelSet3DPosition(101,0 0 0,null,null)",
        "Apply3D()",
        "ChannelPlay(101,0)",
    };
    EXPECT_EQ(FakeSoundLibrary::calls, expected);

    node->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {4, 0, -1}));
    FakeSoundLibrary::calls.clear();
    node->Update(0.1, false);
    EXPECT_EQ(FakeSoundLibrary::calls[0], "ChannelSet3DPosition(101,3 -2 -4,null,null)");
}

TEST(SoundNode, WithoutTheLibraryTheNodeStaysSilent) {
    const test::SavedSoundLibrary saved;
    ClearSoundLibrary();
    test::MountedSoundFiles files;
    Pointer<SoundNode> node = new SoundNode();
    EXPECT_EQ(node->LoadSound(files.Add("a.ogg", "a"), true), kOk);
    EXPECT_EQ(node->GetStream(), 0u);
    node->Update(0.1, false);
    EXPECT_EQ(node->GetPlayingTime(), 0.0f);
}

TEST(SoundNode, DestructionFreesTheStream) {
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    {
        Pointer<SoundNode> node = new SoundNode();
        node->LoadSound(files.Add("a.ogg", "a"), false);
    }
    EXPECT_EQ(FakeSoundLibrary::Count("StreamFree(101)"), 1);
}

// --- Streaming

Pointer<SoundNode> Configured() {
    Pointer<SoundNode> node = new SoundNode(String("brook"));
    node->SetLoop(true);
    node->SetMinDistance(12.5f);
    node->SetReserved(77);
    node->SetVolume(64);
    node->SetPlaying(false);
    return node;
}

TEST(SoundNode, RoundTripLoadsTheFileAndAppliesVolumeAndDistance) {
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    Pointer<SoundNode> node = Configured();
    node->LoadSound(files.Add("brook.ogg", "water"), true);
    FakeSoundLibrary::calls.clear();

    Pointer<SoundNode> loaded = RoundTrip(node.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->GetName().CStr(), "brook");
    EXPECT_TRUE(loaded->GetLoop());
    EXPECT_EQ(loaded->GetMinDistance(), 12.5f);
    EXPECT_EQ(loaded->GetReserved(), 77);
    EXPECT_TRUE(loaded->Is3D());
    EXPECT_STREQ(loaded->GetFileName().CStr(), "brook.ogg");
    EXPECT_FALSE(loaded->IsPlaying());
    EXPECT_EQ(loaded->GetVolume(), 64);
    EXPECT_EQ(loaded->GetStream(), 102u);
    EXPECT_EQ(FakeSoundLibrary::streamData.back(), "water");
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelSetAttributes(102,-1,64,-101)"), 1);
    EXPECT_EQ(FakeSoundLibrary::Count("ChannelSet3DAttributes(102,0,12.5,"), 2);
}

TEST(SoundNode, SaveLayout) {
    Pointer<SoundNode> node = Configured();
    // The node's own part follows exactly what a plain Node writes.
    Stream reference(0, 256);
    ASSERT_EQ(static_cast<Node*>(node.Get())->Node::Save(reference), 0);
    const int32_t nodeBytes = reference.GetPosition();
    Stream stream(0, 256);
    ASSERT_EQ(node->Save(stream), 0);
    const int32_t saved = stream.GetPosition();
    stream.Rewind();
    for (int32_t i = 0; i < nodeBytes; ++i) {
        uint8_t byte = 0;
        stream.ReadUInt8(byte);
    }
    bool loop = false, is3D = true, playing = true;
    float distance = 0;
    int32_t reserved = 0, volume = 0;
    String file;
    stream.ReadBool(loop);
    stream.ReadFloat(distance);
    stream.ReadInt32(reserved);
    stream.ReadBool(is3D);
    stream.ReadString(file);
    stream.ReadBool(playing);
    stream.ReadInt32(volume);
    ASSERT_EQ(stream.GetErrorState(), 0);
    EXPECT_TRUE(loop);
    EXPECT_EQ(distance, 12.5f);
    EXPECT_EQ(reserved, 77);
    EXPECT_FALSE(is3D);
    EXPECT_TRUE(file.IsEmpty());
    EXPECT_FALSE(playing);
    EXPECT_EQ(volume, 64);
    EXPECT_EQ(stream.GetPosition(), saved);
}

TEST(SoundNode, AMissingFileIsAWarningAndTheLoadSucceeds) {
    FakeSoundLibrary fake;
    Pointer<SoundNode> node = Configured();
    {
        test::MountedSoundFiles files;
        node->LoadSound(files.Add("gone.ogg", "x"), false);
    }
    LogCapture capture;
    Pointer<SoundNode> loaded = RoundTrip(node.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetStream(), 0u);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Невозможно найти файл [gone.ogg] для источника звука. ID[" +
                                                   std::to_string(loaded->GetId()) + "] Имя[brook]"));
}

TEST(SoundNode, AFoundFileThatCannotBeReadFailsTheLoad) {
    FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    Pointer<SoundNode> node = Configured();
    MemoryFile* file = files.Add("hollow.ogg", "x");
    node->LoadSound(file, false);
    Stream stream(0, 256);
    ASSERT_EQ(stream.WriteLink(node), 0);
    file->SetSourceData(nullptr, 0);  // found by name, but without data
    stream.Rewind();
    LogCapture capture;
    Pointer<Object> read;
    EXPECT_NE(stream.ReadLink(read), 0);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить звук источника звука. ID["));
}

TEST(SoundNode, TruncatedDataFailsWithTheSourceMessage) {
    test::ExpectEveryTruncationFails(Configured());
    Pointer<SoundNode> node = Configured();
    Stream full(0, 256);
    ASSERT_EQ(full.WriteLink(node), 0);
    Stream cut(full.GetPosition() - 2, 1);
    cut.Write(full.GetBuffer(), full.GetPosition() - 2);
    cut.Rewind();
    LogCapture capture;
    Pointer<Object> read;
    EXPECT_NE(cut.ReadLink(read), 0);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить данные источника звука. ID["));
}

}  // namespace
}  // namespace zel
