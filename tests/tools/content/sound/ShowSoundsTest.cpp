// The show's sounds as the screensaver hears them: decoded with the sound
// library's own decoder.
#include "tools/content/sound/ShowSounds.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "audio/Decoder.h"

namespace {

namespace fs = std::filesystem;

const char* const kNames[] = {"music.ogg", "car.ogg", "sea.ogg", "gull1.ogg", "gull2.ogg", "bell.ogg"};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path WriteSounds() {
    std::string pattern = (fs::temp_directory_path() / "zel-show-sounds-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return zel::WriteShowSounds(pattern) == 0 ? fs::path(pattern) : fs::path();
}

struct Decoded {
    int channels = 0;
    int rate = 0;
    std::vector<float> samples;  // interleaved
};

Decoded Decode(const std::string& bytes) {
    Decoded result;
    std::unique_ptr<zel::audio::Decoder> decoder =
        zel::audio::CreateDecoder(bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr);
    if (decoder == nullptr) return result;
    result.channels = decoder->GetChannels();
    result.rate = decoder->GetRate();
    std::vector<float> block(4096 * result.channels);
    while (int32_t frames = decoder->Read(block.data(), 4096))
        result.samples.insert(result.samples.end(), block.begin(), block.begin() + frames * result.channels);
    return result;
}

class ShowSoundsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { directory_ = WriteSounds(); }
    static void TearDownTestSuite() {
        std::error_code error;
        if (!directory_.empty()) fs::remove_all(directory_, error);
    }
    void SetUp() override { ASSERT_FALSE(directory_.empty()) << "the sounds were not written"; }

    static fs::path directory_;
};

fs::path ShowSoundsTest::directory_;

TEST_F(ShowSoundsTest, EachSoundHasItsLayoutLengthAndLevel) {
    struct Case {
        const char* name;
        int channels;
        double minSeconds, maxSeconds;
        bool loops;
    };
    const Case cases[] = {
        {"music.ogg", 2, 100, 120, true}, {"car.ogg", 1, 1.5, 2.5, true},   {"sea.ogg", 1, 10, 12, true},
        {"gull1.ogg", 1, 0.8, 1.5, false}, {"gull2.ogg", 1, 0.8, 1.5, false}, {"bell.ogg", 1, 2.5, 3.5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded sound = Decode(ReadBytes(directory_ / c.name));
        ASSERT_EQ(sound.channels, c.channels);
        EXPECT_EQ(sound.rate, 44100);
        const size_t frames = sound.samples.size() / c.channels;
        EXPECT_GE(frames, c.minSeconds * sound.rate);
        EXPECT_LE(frames, c.maxSeconds * sound.rate);
        for (int channel = 0; channel < c.channels; ++channel) {
            double power = 0, peak = 0, largestStep = 0;
            for (size_t i = 0; i < frames; ++i) {
                const double v = sound.samples[i * c.channels + channel];
                power += v * v;
                peak = std::max(peak, std::fabs(v));
                if (i > 0) largestStep = std::max(largestStep, std::fabs(v - sound.samples[(i - 1) * c.channels + channel]));
            }
            EXPECT_GT(std::sqrt(power / frames), 0.03) << "channel " << channel << " is near silent";
            EXPECT_LE(peak, 1.0) << "channel " << channel << " clips";
            // From the last sample back to the first the wave moves no more
            // than it does between any two neighbours inside the sound (a
            // loop that does not fit jumps by about its own level).
            if (c.loops) {
                const double wrap = sound.samples[channel] - sound.samples[(frames - 1) * c.channels + channel];
                EXPECT_LE(std::fabs(wrap), largestStep) << "channel " << channel;
            }
        }
    }
}

TEST_F(ShowSoundsTest, ASecondRunWritesTheSameBytes) {
    const fs::path again = WriteSounds();
    ASSERT_FALSE(again.empty());
    for (const char* name : kNames) {
        EXPECT_EQ(ReadBytes(directory_ / name), ReadBytes(again / name)) << name;
    }
    std::error_code error;
    fs::remove_all(again, error);
}

}  // namespace
