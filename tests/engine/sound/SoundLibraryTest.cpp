// The sound library's call table: empty at first with every call skipped,
// bound by export name, and cleared again.
#include <gtest/gtest.h>

#include "support/FakeSoundLibrary.h"
#include "engine/sound/SoundLibrary.h"
#include "engine/math/Vector3.h"

namespace zel {
namespace {

uint32_t gVersionCalls = 0;
uint32_t ZEL_SOUND_CALL Version() {
    ++gVersionCalls;
    return SoundLibrary::kVersion;
}

TEST(SoundLibrary, AnEmptyTableSkipsEveryCall) {
    const test::SavedSoundLibrary saved;
    ClearSoundLibrary();
    const SoundLibrary& library = GetSoundLibrary();
    EXPECT_EQ(library.BASS_ChannelPlay, nullptr);
    EXPECT_EQ(library.StreamCreateFile("abc", 3, 0), 0u);
    EXPECT_FALSE(library.ChannelIsPlaying(1));
    library.StreamFree(1);
    library.Apply3D();
    library.ChannelSetFlags(1, SoundLibrary::kChannelFlagLoop);
    library.ChannelSetVolume(1, 50);
    library.ChannelSetMinDistance(1, 2.0f);
    library.ChannelSetPosition(1, SoundVector{1, 2, 3});
    library.ChannelPlay(1, true);
    library.ChannelStop(1);
    PlaceChannel(1, Vector3{1, 2, 3});
}

TEST(SoundLibrary, FunctionsAreBoundByTheirExportNames) {
    const test::SavedSoundLibrary saved;
    ClearSoundLibrary();
    EXPECT_TRUE(BindSoundFunction("BASS_GetVersion", reinterpret_cast<os::LibrarySymbol>(&Version)));
    ASSERT_NE(GetSoundLibrary().BASS_GetVersion, nullptr);
    EXPECT_EQ(GetSoundLibrary().BASS_GetVersion(), SoundLibrary::kVersion);
    EXPECT_EQ(gVersionCalls, 1u);

    EXPECT_FALSE(BindSoundFunction("BASS_NoSuchFunction", reinterpret_cast<os::LibrarySymbol>(&Version)));
    EXPECT_FALSE(BindSoundFunction("bass_getversion", reinterpret_cast<os::LibrarySymbol>(&Version)));
    EXPECT_FALSE(BindSoundFunction(nullptr, reinterpret_cast<os::LibrarySymbol>(&Version)));
    ClearSoundLibrary();
    EXPECT_EQ(GetSoundLibrary().BASS_GetVersion, nullptr);
}

TEST(SoundLibrary, EveryFunctionTheEngineCallsHasASlot) {
    const char* names[] = {"BASS_GetVersion",         "BASS_Init",
                           "BASS_GetDevice",          "BASS_GetDeviceDescription",
                           "BASS_ErrorGetCode",       "BASS_Set3DFactors",
                           "BASS_Apply3D",            "BASS_Free",
                           "BASS_SetConfig",          "BASS_StreamCreateFile",
                           "BASS_StreamFree",         "BASS_ChannelSetFlags",
                           "BASS_ChannelSetAttributes", "BASS_ChannelSet3DAttributes",
                           "BASS_ChannelSet3DPosition", "BASS_ChannelPlay",
                           "BASS_ChannelStop",        "BASS_ChannelIsActive",
                           "BASS_Set3DPosition"};
    const test::SavedSoundLibrary saved;
    for (const char* name : names) EXPECT_TRUE(BindSoundFunction(name, nullptr)) << name;
}

TEST(SoundLibrary, SafeCallsPassTheFixedArguments) {
    test::FakeSoundLibrary fake;
    const SoundLibrary& library = GetSoundLibrary();
    const uint32_t stream = library.StreamCreateFile("abcd", 4, SoundLibrary::kStreamFlag3D);
    library.ChannelSetVolume(stream, 40);
    library.ChannelSetMinDistance(stream, 2.5f);
    library.ChannelSetPosition(stream, SoundVector{1, -2, 3});
    library.ChannelPlay(stream, true);
    EXPECT_TRUE(library.ChannelIsPlaying(stream));
    library.ChannelStop(stream);
    EXPECT_FALSE(library.ChannelIsPlaying(stream));
    const std::vector<std::string> expected = {
        "StreamCreateFile(1,0,4,8)=101",
        "ChannelSetAttributes(101,-1,40,-101)",
        "ChannelSet3DAttributes(101,0,2.5,-1,-1,-1,-1)",
        "ChannelSet3DPosition(101,1 -2 3,null,null)",
        "ChannelPlay(101,1)",
        "ChannelIsActive(101)",
        "ChannelStop(101)",
        "ChannelIsActive(101)",
    };
    EXPECT_EQ(test::FakeSoundLibrary::calls, expected);
    EXPECT_EQ(test::FakeSoundLibrary::streamData[0], "abcd");
}

}  // namespace
}  // namespace zel
