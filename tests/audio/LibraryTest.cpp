// The exported functions: version, devices and error codes, refusal of bad
// streams and handles, the output opened only while a stream is heard, and
// the WAV-file output end to end (a looping 3D stream on the listener's left
// is heard, louder on the left; each opening appends to the file).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "TestSounds.h"
#include "audio/AudioApi.h"
#include "audio/ErrorCode.h"
#include "audio/Output.h"
#include "audio/WavFileOutput.h"

namespace zel::audio {
namespace {

using test::MakeOgg;
using test::Sine;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

int16_t Sample(const std::string& wav, size_t index) {
    const size_t at = 44 + 2 * index;
    return static_cast<int16_t>(static_cast<uint8_t>(wav[at]) | (static_cast<uint8_t>(wav[at + 1]) << 8));
}

TEST(Library, VersionAndTheNoSoundDevice) {
    EXPECT_EQ(BASS_GetVersion(), 0x20002u);
    EXPECT_STREQ(BASS_GetDeviceDescription(0), "No sound");
    EXPECT_EQ(BASS_GetDeviceDescription(7), nullptr);
    EXPECT_EQ(BASS_ErrorGetCode(), kErrorDevice);
}

TEST(Library, WithoutAnOutputInitFailsButStreamsStillWork) {
    unsetenv("ZEL_AUDIO_WAV");
    EXPECT_EQ(BASS_Init(-1, 44100, 4, nullptr, nullptr), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), kErrorDriver);
    EXPECT_EQ(BASS_GetDevice(), 0xFFFFFFFFu);
    EXPECT_EQ(BASS_ErrorGetCode(), kErrorInit);
    EXPECT_EQ(BASS_GetDeviceDescription(1), nullptr);

    const std::string ogg = MakeOgg(Sine(440.0, 0.2, 22050), 1, 22050);
    const uint32_t stream = BASS_StreamCreateFile(1, ogg.data(), 0, static_cast<uint32_t>(ogg.size()), 8);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(BASS_ChannelPlay(stream, 0), 1);
    EXPECT_EQ(BASS_ChannelIsActive(stream), 1u);
    // The silent clock runs the 0.2-second sound to its end.
    for (int i = 0; i < 100 && BASS_ChannelIsActive(stream) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(BASS_ChannelIsActive(stream), 0u);
    BASS_StreamFree(stream);
    EXPECT_EQ(BASS_ErrorGetCode(), kErrorOk);
}

TEST(Library, BadStreamsAndHandlesAreRefusedWithTheirCodes) {
    const std::string junk = "OggS and then nothing sensible at all";
    EXPECT_EQ(BASS_StreamCreateFile(1, junk.data(), 0, static_cast<uint32_t>(junk.size()), 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), kErrorFormat);
    EXPECT_EQ(BASS_StreamCreateFile(0, junk.data(), 0, 4, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), kErrorParameter);
    EXPECT_EQ(BASS_ChannelPlay(12345, 0), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), kErrorHandle);
    EXPECT_EQ(BASS_ChannelIsActive(12345), 0u);
    BASS_StreamFree(12345);
    EXPECT_EQ(BASS_ErrorGetCode(), kErrorHandle);

    const std::string ogg = MakeOgg(Sine(440.0, 0.1, 22050), 1, 22050);
    const uint32_t plain = BASS_StreamCreateFile(1, ogg.data(), 0, static_cast<uint32_t>(ogg.size()), 0);
    ASSERT_NE(plain, 0u);
    EXPECT_EQ(BASS_ChannelSet3DAttributes(plain, 0, 2.0f, -1.0f, -1, -1, -1), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), kErrorNo3D);
    EXPECT_EQ(BASS_ChannelSetAttributes(plain, -1, 101, -101), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), kErrorParameter);
    EXPECT_EQ(BASS_ChannelSetAttributes(plain, -1, 100, -101), 1);
    EXPECT_EQ(BASS_SetConfig(5, 250), 0xFFFFFFFFu);
    EXPECT_EQ(BASS_SetConfig(5, 80), 80u);
    EXPECT_EQ(BASS_SetConfig(5, 100), 100u);
    BASS_StreamFree(plain);
}

TEST(Library, TheWavOutputHearsALoopingSourceOnTheLeft) {
    const std::string path = ::testing::TempDir() + "zel_audio_output.wav";
    setenv("ZEL_AUDIO_WAV", path.c_str(), 1);
    ASSERT_EQ(BASS_Init(-1, 44100, 4, nullptr, nullptr), 1);
    EXPECT_EQ(BASS_GetDevice(), 1u);
    EXPECT_STREQ(BASS_GetDeviceDescription(1), "WAV file");
    EXPECT_EQ(BASS_Init(-1, 44100, 4, nullptr, nullptr), 1);  // the application's second call

    const std::string ogg = MakeOgg(Sine(330.0, 0.5, 44100), 1, 44100);
    const uint32_t stream = BASS_StreamCreateFile(1, ogg.data(), 0, static_cast<uint32_t>(ogg.size()), 8);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(BASS_ChannelSetFlags(stream, 4), 1);
    EXPECT_EQ(BASS_ChannelSet3DAttributes(stream, 0, 1.0f, -1.0f, -1, -1, -1), 1);
    const AudioVector left{-3.0f, 0.0f, 1.0f};
    EXPECT_EQ(BASS_ChannelSet3DPosition(stream, &left, nullptr, nullptr), 1);
    const AudioVector front{0, 0, 1}, top{0, 1, 0};
    EXPECT_EQ(BASS_Set3DPosition(nullptr, nullptr, &front, &top), 1);
    EXPECT_EQ(BASS_Set3DFactors(1.0f, 1.0f, 1.0f), 1);
    BASS_Apply3D();
    EXPECT_EQ(BASS_ChannelPlay(stream, 0), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_EQ(BASS_ChannelIsActive(stream), 1u);  // looping past its end
    EXPECT_EQ(BASS_Free(), 1);
    EXPECT_EQ(BASS_ChannelIsActive(stream), 0u);  // freed with the device
    EXPECT_EQ(BASS_Free(), 0);
    unsetenv("ZEL_AUDIO_WAV");

    const std::string wav = ReadFile(path);
    std::remove(path.c_str());
    ASSERT_GT(wav.size(), 44u + 4u * 44100u / 2u);
    const uint32_t dataBytes = static_cast<uint8_t>(wav[40]) | (static_cast<uint8_t>(wav[41]) << 8) |
                               (static_cast<uint8_t>(wav[42]) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(wav[43])) << 24);
    EXPECT_EQ(dataBytes, wav.size() - 44);
    double leftEnergy = 0.0, rightEnergy = 0.0;
    for (size_t frame = 0; frame < dataBytes / 4; ++frame) {
        leftEnergy += std::abs(Sample(wav, 2 * frame));
        rightEnergy += std::abs(Sample(wav, 2 * frame + 1));
    }
    EXPECT_GT(leftEnergy, 1000.0 * (dataBytes / 4) / 100.0);  // not silent
    EXPECT_GT(leftEnergy, 2.0 * rightEnergy);
}

// A device the test drives: blocks are mixed only when the test pumps them,
// as fast as it likes, so seconds of device time pass at once.
class FakeOutput final : public Output {
public:
    static inline int probes = 0;
    static inline int starts = 0;
    static inline bool open = false;
    static inline RenderFunction render;

    static std::unique_ptr<Output> Make() { return std::make_unique<FakeOutput>(); }

    bool Probe(int32_t) override {
        ++probes;
        return true;
    }
    bool Start(int32_t, RenderFunction function) override {
        ++starts;
        open = true;
        render = std::move(function);
        return true;
    }
    void Stop() override { open = false; }

    // Plays `seconds` of 20 ms blocks while the library keeps the output
    // open; whether it still is.
    static bool Pump(double seconds) {
        int16_t block[2 * 882];
        for (int i = 0; open && i < static_cast<int>(seconds * 50); ++i) open = render(block, 882);
        return open;
    }
};

TEST(Library, TheOutputIsOpenOnlyWhileAStreamIsHeard) {
    SetOutputFactory(&FakeOutput::Make);
    ASSERT_EQ(BASS_Init(-1, 44100, 4, nullptr, nullptr), 1);
    EXPECT_EQ(FakeOutput::probes, 1);
    EXPECT_EQ(FakeOutput::starts, 0);  // found, not opened
    EXPECT_EQ(BASS_GetDevice(), 1u);

    const std::string ogg = MakeOgg(Sine(440.0, 0.2, 44100), 1, 44100);
    const uint32_t stream = BASS_StreamCreateFile(1, ogg.data(), 0, static_cast<uint32_t>(ogg.size()), 0);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(BASS_ChannelSetFlags(stream, 4), 1);
    // Playing at volume 0 is not heard; raising the volume opens the output.
    EXPECT_EQ(BASS_ChannelSetAttributes(stream, -1, 0, -101), 1);
    EXPECT_EQ(BASS_ChannelPlay(stream, 0), 1);
    EXPECT_EQ(FakeOutput::starts, 0);
    EXPECT_EQ(BASS_ChannelSetAttributes(stream, -1, 100, -101), 1);
    EXPECT_EQ(FakeOutput::starts, 1);
    EXPECT_TRUE(FakeOutput::Pump(10.0));  // a looping stream keeps it open

    // Stopped, the stream holds the output a few seconds more, then it closes.
    EXPECT_EQ(BASS_ChannelStop(stream), 1);
    EXPECT_TRUE(FakeOutput::Pump(3.5));
    EXPECT_FALSE(FakeOutput::Pump(10.0));

    // Under a global volume of 0 nothing is heard; raising it opens again.
    EXPECT_EQ(BASS_SetConfig(5, 0), 0u);
    EXPECT_EQ(BASS_ChannelPlay(stream, 0), 1);
    EXPECT_EQ(FakeOutput::starts, 1);
    EXPECT_EQ(BASS_SetConfig(5, 100), 100u);
    EXPECT_EQ(FakeOutput::starts, 2);
    EXPECT_TRUE(FakeOutput::Pump(1.0));

    EXPECT_EQ(BASS_Free(), 1);
    EXPECT_FALSE(FakeOutput::open);
    SetOutputFactory(nullptr);
}

// Each start of the WAV output ended by its render function leaves a whole
// file; the next start appends, as a device reopened plays on.
TEST(Library, EachOpeningOfTheWavOutputAppendsToItsFile) {
    const std::string path = ::testing::TempDir() + "zel_audio_reopened.wav";
    std::atomic<uint64_t> rendered{0};
    std::atomic<int> blocks{0};
    {
        WavFileOutput output(path);
        ASSERT_TRUE(output.Probe(44100));
        EXPECT_EQ(ReadFile(path).size(), 44u);
        for (int16_t value : {1000, 2000}) {
            // One block of `value` per start, the last block of that start.
            // The next start waits for this one to end by itself.
            ASSERT_TRUE(output.Start(44100, [&rendered, &blocks, value](int16_t* out, int32_t frames) {
                std::fill(out, out + 2 * frames, value);
                rendered += static_cast<uint64_t>(frames);
                ++blocks;
                return false;
            }));
        }
        for (int i = 0; i < 1000 && blocks < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        output.Stop();
    }
    ASSERT_EQ(blocks, 2);
    const std::string wav = ReadFile(path);
    std::remove(path.c_str());
    ASSERT_EQ(wav.size(), 44 + 4 * rendered);
    const uint32_t dataBytes = static_cast<uint8_t>(wav[40]) | (static_cast<uint8_t>(wav[41]) << 8) |
                               (static_cast<uint8_t>(wav[42]) << 16) |
                               (static_cast<uint32_t>(static_cast<uint8_t>(wav[43])) << 24);
    EXPECT_EQ(dataBytes, 4 * rendered);
    EXPECT_EQ(Sample(wav, 0), 1000);
    EXPECT_EQ(Sample(wav, 2 * rendered - 1), 2000);
}

}  // namespace
}  // namespace zel::audio
