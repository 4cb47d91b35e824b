// Decoders: every WAV layout reads back its samples, Ogg Vorbis decodes to
// the encoded tone and rewinds, and malformed, damaged or truncated data are
// refused.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSounds.h"
#include "audio/Decoder.h"
#include "audio/ErrorCode.h"

namespace zel::audio {
namespace {

using test::MakeOgg;
using test::MakeWav;
using test::Sine;

std::vector<float> DecodeAll(Decoder& decoder) {
    std::vector<float> all;
    std::vector<float> block(512 * decoder.GetChannels());
    while (int32_t got = decoder.Read(block.data(), 512)) all.insert(all.end(), block.begin(), block.begin() + got * decoder.GetChannels());
    return all;
}

TEST(Decoder, WavLayoutsReadBackTheirSamples) {
    struct Case {
        int bits;
        bool isFloat;
        int channels;
        float tolerance;
    };
    const std::vector<float> samples = {0.0f, 0.5f, -0.5f, 0.25f, -1.0f, 0.75f};
    for (const Case& c : {Case{8, false, 1, 0.01f}, Case{16, false, 2, 1e-4f}, Case{24, false, 1, 1e-6f},
                          Case{32, false, 2, 1e-6f}, Case{32, true, 1, 0.0f}}) {
        const std::string file = MakeWav(samples, c.channels, 22050, c.bits, c.isFloat);
        int32_t error = -1;
        std::unique_ptr<Decoder> decoder = CreateDecoder(file.data(), static_cast<uint32_t>(file.size()), &error);
        ASSERT_NE(decoder, nullptr) << c.bits;
        EXPECT_EQ(decoder->GetChannels(), c.channels);
        EXPECT_EQ(decoder->GetRate(), 22050);
        const std::vector<float> decoded = DecodeAll(*decoder);
        ASSERT_EQ(decoded.size(), samples.size()) << c.bits;
        for (size_t i = 0; i < samples.size(); ++i) EXPECT_NEAR(decoded[i], samples[i], c.tolerance) << c.bits << " " << i;
        ASSERT_TRUE(decoder->Rewind());
        EXPECT_EQ(DecodeAll(*decoder).size(), samples.size());
    }
}

TEST(Decoder, OggDecodesTheEncodedToneAndRewinds) {
    const std::vector<float> tone = Sine(440.0, 0.5, 44100, 2);
    const std::string file = MakeOgg(tone, 2, 44100);
    std::unique_ptr<Decoder> decoder = CreateDecoder(file.data(), static_cast<uint32_t>(file.size()), nullptr);
    ASSERT_NE(decoder, nullptr);
    EXPECT_EQ(decoder->GetChannels(), 2);
    EXPECT_EQ(decoder->GetRate(), 44100);
    const std::vector<float> first = DecodeAll(*decoder);
    EXPECT_EQ(first.size(), tone.size());
    double error = 0.0;
    for (size_t i = 0; i < std::min(first.size(), tone.size()); ++i) error += std::fabs(first[i] - tone[i]);
    EXPECT_LT(error / tone.size(), 0.02);
    ASSERT_TRUE(decoder->Rewind());
    EXPECT_EQ(DecodeAll(*decoder), first);
}

TEST(Decoder, MalformedDataAreRefused) {
    const std::string wav = MakeWav({0.1f, 0.2f}, 1, 8000);
    const std::string ogg = MakeOgg(Sine(440.0, 0.2, 22050), 1, 22050);
    std::string noFormat = wav;
    noFormat.replace(12, 4, "junk");
    std::string threeChannels = MakeWav({0.1f, 0.2f, 0.3f}, 1, 8000);
    threeChannels[22] = 3;
    std::string zeroRate = wav;
    zeroRate.replace(24, 4, std::string(4, '\0'));
    std::string adpcm = wav;
    adpcm[20] = 2;
    std::string hugeChunk = wav;
    hugeChunk.replace(16, 4, "\xF0\xFF\xFF\xFF");
    std::string damagedOgg = ogg;
    for (size_t i = 60; i < damagedOgg.size(); i += 7) damagedOgg[i] = static_cast<char>(damagedOgg[i] ^ 0x5A);
    const struct {
        const char* what;
        std::string data;
    } cases[] = {
        {"empty", ""},
        {"unknown signature", "ABCDEFGHIJKLMNOP"},
        {"RIFF header only", wav.substr(0, 12)},
        {"no format chunk", noFormat},
        {"three channels", threeChannels},
        {"rate 0", zeroRate},
        {"compressed WAV", adpcm},
        {"format chunk larger than the file", hugeChunk},
        {"data chunk cut before a frame", wav.substr(0, 44)},
        {"Ogg signature only", "OggS"},
        {"Ogg headers cut", ogg.substr(0, 200)},
        {"Ogg damaged", damagedOgg},
        {"Ogg cut in its audio", ogg.substr(0, ogg.size() / 2)},
    };
    for (const auto& c : cases) {
        int32_t error = kErrorOk;
        EXPECT_EQ(CreateDecoder(c.data.data(), static_cast<uint32_t>(c.data.size()), &error), nullptr) << c.what;
        EXPECT_EQ(error, kErrorFormat) << c.what;
    }
    EXPECT_EQ(CreateDecoder(nullptr, 100, nullptr), nullptr);
}

}  // namespace
}  // namespace zel::audio
