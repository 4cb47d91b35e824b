// The mixer and its channels: streams add, the volume law, 3D attenuation
// and panning applied on Apply3D, seamless loops, one-shot ends, play and
// stop, resampling and the limiter.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSounds.h"
#include "audio/ErrorCode.h"
#include "audio/Mixer.h"

namespace zel::audio {
namespace {

using test::Constant;
using test::MakeOgg;
using test::MakeWav;
using test::Sine;

constexpr int kRate = 44100;

class MixerTest : public ::testing::Test {
protected:
    // A stream over `file`, which the fixture keeps alive.
    uint32_t Stream(std::string file, uint32_t flags = 0) {
        files_.push_back(std::make_unique<std::string>(std::move(file)));
        int32_t error = kErrorUnknown;
        const uint32_t handle =
            mixer.CreateStream(files_.back()->data(), static_cast<uint32_t>(files_.back()->size()), flags, &error);
        EXPECT_NE(handle, 0u);
        EXPECT_EQ(error, kErrorOk);
        return handle;
    }
    std::vector<float> Render(int frames) {
        std::vector<float> mix(2 * static_cast<size_t>(frames));
        for (int at = 0; at < frames; at += 1000) mixer.Render(mix.data() + 2 * at, std::min(1000, frames - at));
        return mix;
    }

    Mixer mixer{kRate};

private:
    std::vector<std::unique_ptr<std::string>> files_;
};

TEST_F(MixerTest, TwoStreamsAdd) {
    const uint32_t a = Stream(MakeWav(Constant(0.25f, kRate), 1, kRate, 32, true));
    const uint32_t b = Stream(MakeWav(Constant(0.125f, kRate), 1, kRate, 32, true));
    mixer.Find(a)->Play(false);
    EXPECT_FLOAT_EQ(Render(100)[50], 0.25f);
    mixer.Find(b)->Play(false);
    const std::vector<float> mix = Render(100);
    EXPECT_FLOAT_EQ(mix[100], 0.375f);
    EXPECT_FLOAT_EQ(mix[101], 0.375f);
}

// Volumes are linear in amplitude: the channel's percentage times the
// global stream volume's.
TEST_F(MixerTest, VolumesScaleLinearly) {
    const uint32_t a = Stream(MakeWav(Constant(0.5f, kRate), 1, kRate, 32, true));
    Channel& channel = *mixer.Find(a);
    channel.Play(false);
    const struct {
        int channelVolume, streamVolume;
        float level;
    } cases[] = {{100, 100, 0.5f}, {50, 100, 0.25f}, {0, 100, 0.0f}, {100, 50, 0.25f}, {50, 50, 0.125f}, {250, 100, 0.5f}};
    for (const auto& c : cases) {
        channel.SetVolume(c.channelVolume);
        mixer.SetStreamVolume(c.streamVolume);
        Render(10);  // the gain ramps within one block
        EXPECT_NEAR(Render(10)[4], c.level, 1e-6f) << c.channelVolume << " " << c.streamVolume;
    }
}

TEST_F(MixerTest, ThreeDAttenuationAndPanningTakeEffectOnApply3D) {
    const uint32_t handle = Stream(MakeWav(Constant(0.5f, kRate), 1, kRate, 32, true), Mixer::kStreamFlag3D);
    Channel& channel = *mixer.Find(handle);
    channel.Set3DAttributes(Channel::kModeNormal, 2.0f, -1.0f);
    const Vec3 inside{0, 0, 1.5f};
    channel.Set3DPosition(&inside, nullptr);
    mixer.SetFactors(-1.0f, 1.0f, -1.0f);
    mixer.Apply3D();
    channel.Play(false);
    std::vector<float> mix = Render(10);
    EXPECT_FLOAT_EQ(mix[8], 0.5f);
    EXPECT_FLOAT_EQ(mix[9], 0.5f);

    const Vec3 twice{0, 0, 4.0f};
    channel.Set3DPosition(&twice, nullptr);
    EXPECT_FLOAT_EQ(Render(10)[8], 0.5f);  // pending until Apply3D
    mixer.Apply3D();
    Render(10);
    mix = Render(10);
    EXPECT_NEAR(mix[8], 0.25f, 1e-6f);

    const Vec3 left{-4.0f, 0, 0};
    channel.Set3DPosition(&left, nullptr);
    mixer.Apply3D();
    Render(10);
    mix = Render(10);
    EXPECT_GT(mix[8], 2.0f * mix[9]);
}

// Looping a one-second tone for three seconds gives the same tone without a
// gap or a jump at the seams.
TEST_F(MixerTest, LoopsAreSeamless) {
    const uint32_t handle = Stream(MakeWav(Sine(441.0, 1.0, kRate), 1, kRate, 32, true));
    Channel& channel = *mixer.Find(handle);
    channel.SetLoop(true);
    channel.Play(false);
    const std::vector<float> mix = Render(3 * kRate);
    const float maxStep = static_cast<float>(0.5 * 2.0 * M_PI * 441.0 / kRate) * 1.01f;
    for (int i = 1; i < 3 * kRate; ++i) {
        ASSERT_LE(std::fabs(mix[2 * i] - mix[2 * i - 2]), maxStep) << "frame " << i;
        ASSERT_NEAR(mix[2 * i], 0.5f * std::sin(2.0 * M_PI * 441.0 * i / kRate), 1e-4f) << "frame " << i;
    }
    EXPECT_TRUE(channel.IsPlaying());
}

TEST_F(MixerTest, AOneShotStreamStopsAtItsEndAndStaysStoppedUntilRestarted) {
    const uint32_t handle = Stream(MakeOgg(Sine(440.0, 0.25, kRate), 1, kRate));
    Channel& channel = *mixer.Find(handle);
    EXPECT_FALSE(channel.IsPlaying());
    channel.Play(false);
    EXPECT_TRUE(channel.IsPlaying());
    Render(kRate / 8);
    EXPECT_TRUE(channel.IsPlaying());
    Render(kRate / 4);
    EXPECT_FALSE(channel.IsPlaying());
    channel.Play(false);  // what a sound node does every frame
    EXPECT_FALSE(channel.IsPlaying());
    channel.Play(true);
    EXPECT_TRUE(channel.IsPlaying());
}

TEST_F(MixerTest, StopKeepsThePositionAndRestartGoesBack) {
    std::vector<float> ramp;
    for (int i = 0; i < kRate; ++i) ramp.push_back(static_cast<float>(i) / kRate);
    const uint32_t handle = Stream(MakeWav(ramp, 1, kRate, 32, true));
    Channel& channel = *mixer.Find(handle);
    channel.Play(false);
    Render(1000);
    channel.Stop();
    EXPECT_FLOAT_EQ(Render(10)[0], 0.0f);
    channel.Play(false);
    EXPECT_NEAR(Render(1)[0], 1000.0f / kRate, 1e-6f);
    channel.Play(true);
    EXPECT_NEAR(Render(1)[0], 0.0f, 1e-6f);
}

TEST_F(MixerTest, StreamsAreResampledToTheOutputRate) {
    const uint32_t handle = Stream(MakeWav(Sine(441.0, 0.5, 22050), 1, 22050, 32, true));
    Channel& channel = *mixer.Find(handle);
    channel.Play(false);
    const std::vector<float> mix = Render(kRate / 2 - 10);
    EXPECT_TRUE(channel.IsPlaying());
    for (int i = 0; i < kRate / 2 - 10; i += 37)
        EXPECT_NEAR(mix[2 * i], 0.5f * std::sin(2.0 * M_PI * 441.0 * i / kRate), 2e-3f) << i;
    Render(20);
    EXPECT_FALSE(channel.IsPlaying());
}

TEST_F(MixerTest, TheLimiterKeepsLoudMixesInRangeWithoutWrapping) {
    for (int i = 0; i < 6; ++i) mixer.Find(Stream(MakeWav(Sine(220.0, 1.0, kRate, 1, 1.0f), 1, kRate, 32, true)))->Play(false);
    std::vector<float> mix = Render(kRate / 2);
    for (size_t i = 0; i < mix.size(); ++i) ASSERT_LE(std::fabs(mix[i]), 1.0f) << i;
    // The sign follows the tone: no wrap-around from full positive to negative.
    for (int i = 1; i < kRate / 2; ++i) {
        const float tone = std::sin(2.0 * M_PI * 220.0 * i / kRate);
        if (std::fabs(tone) > 0.1f) {
            ASSERT_GT(mix[2 * i] * tone, 0.0f) << i;
        }
    }
    std::vector<int16_t> pcm(200);
    std::vector<float> scratch(200);
    mixer.Render(pcm.data(), scratch.data(), 100);
    for (int16_t sample : pcm) EXPECT_GE(sample, -32767);
}

TEST_F(MixerTest, HandlesAreNotReused) {
    const std::string file = MakeWav(Constant(0.1f, 100), 1, 8000);
    int32_t error = 0;
    const uint32_t first = mixer.CreateStream(file.data(), static_cast<uint32_t>(file.size()), 0, &error);
    EXPECT_TRUE(mixer.FreeStream(first));
    EXPECT_FALSE(mixer.FreeStream(first));
    const uint32_t second = mixer.CreateStream(file.data(), static_cast<uint32_t>(file.size()), 0, &error);
    EXPECT_NE(second, first);
    EXPECT_EQ(mixer.Find(first), nullptr);
}

}  // namespace
}  // namespace zel::audio
