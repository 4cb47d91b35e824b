// Prefix codes: length-limited construction, canonical assignment shared by
// compressor and decoder, and the decoder's refusal of impossible tables.
#include <gtest/gtest.h>

#include <vector>

#include "engine/core/Status.h"
#include "engine/resources/rar/Rar2BitReader.h"
#include "engine/resources/rar/Rar2Crc32.h"
#include "engine/resources/rar/Rar2HuffmanDecoder.h"
#include "tests/engine/resources/rar/Rar2TestData.h"
#include "tools/rar2/writer/Rar2BitWriter.h"
#include "tools/rar2/writer/Rar2HuffmanEncoder.h"

namespace zel {
namespace {

double KraftSum(const uint8_t* lengths, uint32_t count) {
    double sum = 0;
    for (uint32_t i = 0; i < count; ++i)
        if (lengths[i]) sum += 1.0 / double(1u << lengths[i]);
    return sum;
}

TEST(Rar2HuffmanTest, LengthsAreOptimalForSmallCases) {
    Rar2HuffmanEncoder code;
    uint32_t frequencies[5] = {1, 1, 2, 4, 0};
    ASSERT_EQ(code.Build(frequencies, 5), kOk);
    EXPECT_EQ(code.Length(0), 3u);
    EXPECT_EQ(code.Length(1), 3u);
    EXPECT_EQ(code.Length(2), 2u);
    EXPECT_EQ(code.Length(3), 1u);
    EXPECT_EQ(code.Length(4), 0u);

    uint32_t single[3] = {0, 9, 0};  // one symbol still needs one bit
    ASSERT_EQ(code.Build(single, 3), kOk);
    EXPECT_EQ(code.Length(1), 1u);
    uint32_t none[3] = {};
    ASSERT_EQ(code.Build(none, 3), kOk);
    EXPECT_EQ(KraftSum(code.Lengths(), 3), 0.0);
}

TEST(Rar2HuffmanTest, LengthsStayWithinTheLimitAndFillTheCode) {
    // Fibonacci frequencies would need codes of 40 bits without the limit.
    std::vector<uint32_t> frequencies(40);
    frequencies[0] = frequencies[1] = 1;
    for (size_t i = 2; i < frequencies.size(); ++i) frequencies[i] = frequencies[i - 1] + frequencies[i - 2];
    for (uint32_t limit : {15u, 7u}) {
        Rar2HuffmanEncoder code;
        ASSERT_EQ(code.Build(frequencies.data(), 40, limit), kOk);
        for (uint32_t i = 0; i < 40; ++i) {
            EXPECT_GE(code.Length(i), 1u);
            EXPECT_LE(code.Length(i), limit);
        }
        EXPECT_DOUBLE_EQ(KraftSum(code.Lengths(), 40), 1.0);
    }
    Rar2HuffmanEncoder code;
    EXPECT_EQ(code.Build(frequencies.data(), 299), kInvalidArgument);
}

TEST(Rar2HuffmanTest, DecoderReadsWhatTheEncoderWrites) {
    // Skewed frequencies over the full main alphabet give codes of 1..15 bits,
    // so both the quick table and the long-code search are used.
    std::vector<uint32_t> frequencies(298);
    for (size_t i = 0; i < frequencies.size(); ++i) frequencies[i] = i < 20 ? (1u << (20 - i)) : 1;
    Rar2HuffmanEncoder encoder;
    ASSERT_EQ(encoder.Build(frequencies.data(), 298), kOk);
    uint32_t longest = 0;
    for (uint32_t i = 0; i < 298; ++i) longest = std::max(longest, encoder.Length(i));
    EXPECT_EQ(longest, 15u);

    rar2test::Random random(5);
    std::vector<uint32_t> symbols;
    for (int i = 0; i < 5000; ++i) symbols.push_back(i % 3 == 0 ? random.Next() % 298 : random.Next() % 24);
    Rar2ByteBuffer buffer;
    Rar2BitWriter writer(buffer);
    for (uint32_t s : symbols) encoder.Write(writer, s);
    writer.Flush();

    Rar2HuffmanDecoder decoder;
    ASSERT_EQ(decoder.Build(encoder.Lengths(), 298), kOk);
    Rar2BitReader reader;
    reader.Reset(buffer.Data(), buffer.Size());
    for (size_t i = 0; i < symbols.size(); ++i) ASSERT_EQ(decoder.Decode(reader), int32_t(symbols[i])) << i;
    EXPECT_FALSE(reader.Overrun());
}

TEST(Rar2HuffmanTest, DecoderRefusesOverfullTablesAndUnassignedCodes) {
    Rar2HuffmanDecoder decoder;
    uint8_t overfull[3] = {1, 1, 1};
    EXPECT_EQ(decoder.Build(overfull, 3), kFailed);
    uint8_t tooLong[2] = {1, 16};
    EXPECT_EQ(decoder.Build(tooLong, 2), kFailed);

    // Incomplete: codes 0 and 10 are used, 11 is not.
    uint8_t incomplete[3] = {1, 2, 0};
    ASSERT_EQ(decoder.Build(incomplete, 3), kOk);
    uint8_t bits[2] = {0x5F, 0xFF};  // 0, 10, 11...
    Rar2BitReader reader;
    reader.Reset(bits, 2);
    EXPECT_EQ(decoder.Decode(reader), 0);
    EXPECT_EQ(decoder.Decode(reader), 1);
    EXPECT_EQ(decoder.Decode(reader), -1);

    uint8_t empty[4] = {};
    ASSERT_EQ(decoder.Build(empty, 4), kOk);
    reader.Reset(bits, 2);
    EXPECT_EQ(decoder.Decode(reader), -1);
}

TEST(Rar2HuffmanTest, BitReaderFeedsZerosPastTheEndAndNoticesTheOverrun) {
    uint8_t bytes[3] = {0xA5, 0xFF, 0x01};
    Rar2BitReader reader;
    reader.Reset(bytes, 3);
    EXPECT_EQ(reader.Read(4), 0xAu);
    EXPECT_EQ(reader.Read(12), 0x5FFu);
    EXPECT_EQ(reader.RemainingBytes(), 1u);
    EXPECT_EQ(reader.Read(8), 0x01u);
    EXPECT_FALSE(reader.Overrun());
    EXPECT_EQ(reader.Read(16), 0u);
    EXPECT_TRUE(reader.Overrun());
}

TEST(Rar2HuffmanTest, Crc32MatchesTheStandardCheckValue) {
    const uint8_t text[] = "123456789";
    EXPECT_EQ(Rar2Crc32::Compute(text, 9), 0xCBF43926u);
    // Split updates agree with one pass (the eight-byte path and the tail).
    std::vector<uint8_t> data = rar2test::RandomBytes(1000, 3);
    uint32_t split = Rar2Crc32::Update(Rar2Crc32::Update(0, data.data(), 333), data.data() + 333, 667);
    EXPECT_EQ(split, Rar2Crc32::Compute(data.data(), data.size()));
    EXPECT_EQ(Rar2Crc32::Compute(nullptr, 0), 0u);
}

}  // namespace
}  // namespace zel
