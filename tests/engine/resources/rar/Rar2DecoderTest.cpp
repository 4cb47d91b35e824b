// The decoder on hand-written streams: each case builds exactly the codes it
// needs, so damaged or unusual streams can be written that the compressor
// never makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Status.h"
#include "engine/resources/rar/Rar2AudioPredictor.h"
#include "engine/resources/rar/Rar2Crc32.h"
#include "engine/resources/rar/Rar2Decoder.h"
#include "engine/resources/rar/Rar2Format.h"
#include "tools/rar2/writer/Rar2BitWriter.h"

namespace zel {
namespace {

// Writes streams whose tables give every symbol of an alphabet the same
// length, so a symbol's code is its own value in that many bits.
class StreamBuilder {
public:
    StreamBuilder() : writer_(buffer_) {}

    // LZ tables: all main symbols 9 bits; distance and length codes unused.
    StreamBuilder& LzTables() {
        writer_.Write(0, 2);  // LZ, fresh lengths
        WriteFlatTable(9, Rar2Format::kMainSymbols, Rar2Format::kLzTableSize);
        return *this;
    }
    // Audio tables for `channels`: every delta and the switch code 9 bits.
    StreamBuilder& AudioTables(uint32_t channels) {
        writer_.Write(1, 1);
        writer_.Write(0, 1);
        writer_.Write(channels - 1, 2);
        WriteFlatTable(9, Rar2Format::kAudioSymbols * channels, Rar2Format::kAudioSymbols * channels);
        return *this;
    }
    StreamBuilder& Symbol(uint32_t symbol) { return Bits(symbol, 9); }
    StreamBuilder& Text(const std::string& text) {
        for (char c : text) Symbol(uint8_t(c));
        return *this;
    }
    StreamBuilder& Bits(uint32_t value, uint32_t count) {
        writer_.Write(value, count);
        return *this;
    }
    StreamBuilder& RawLevels(const std::vector<uint8_t>& levels) {
        for (uint8_t l : levels) writer_.Write(l, 4);
        return *this;
    }
    std::vector<uint8_t> Bytes() {
        writer_.Flush();
        return std::vector<uint8_t>(buffer_.Data(), buffer_.Data() + buffer_.Size());
    }

private:
    // Bit-length code: symbol `length` -> "0", 18 (many zeros) -> "1". The
    // first `used` lengths are `length`, the rest of `size` zero.
    void WriteFlatTable(uint32_t length, uint32_t used, uint32_t size) {
        for (uint32_t i = 0; i < Rar2Format::kLevelSymbols; ++i) writer_.Write(i == length || i == 18 ? 1 : 0, 4);
        for (uint32_t i = 0; i < used; ++i) writer_.Write(0, 1);
        for (uint32_t left = size - used; left > 0;) {
            uint32_t n = left < 138 ? left : 138;
            if (n < 11) n = 11;  // the table ends the run early
            writer_.Write(1, 1);
            writer_.Write(n - 11, 7);
            left -= n < left ? n : left;
        }
    }

    Rar2ByteBuffer buffer_;
    Rar2BitWriter writer_;
};

struct Result {
    int32_t status;
    std::string text;
    std::string error;
};

Result Decode(Rar2Decoder& decoder, const std::vector<uint8_t>& stream, size_t size, bool solid = false) {
    std::vector<uint8_t> out(size, '?');
    int32_t status = decoder.Decode(stream.data(), stream.size(), out.data(), size, solid);
    return {status, std::string(out.begin(), out.end()), decoder.GetError()};
}

Result Decode(const std::vector<uint8_t>& stream, size_t size) {
    Rar2Decoder decoder;
    EXPECT_EQ(decoder.Init(), kOk);
    return Decode(decoder, stream, size);
}

// Valid streams --------------------------------------------------------------

TEST(Rar2DecoderTest, LiteralsAndEachKindOfMatch) {
    // Tables with distance (6-bit) and repeated-length (5-bit) codes too.
    // Bit-length code: 9 -> "0", 5 -> "10", 6 -> "11".
    StreamBuilder b;
    b.Bits(0, 2);
    std::vector<uint8_t> levels(19, 0);
    levels[9] = 1;
    levels[5] = 2;
    levels[6] = 2;
    b.RawLevels(levels);
    for (uint32_t i = 0; i < Rar2Format::kMainSymbols; ++i) b.Bits(0, 1);
    for (uint32_t i = 0; i < Rar2Format::kDistanceSymbols; ++i) b.Bits(3, 2);
    for (uint32_t i = 0; i < Rar2Format::kRepeatLengthSymbols; ++i) b.Bits(2, 2);
    b.Text("ab");
    b.Symbol(261).Bits(1, 2);  // length 2, distance 2: "ab"
    b.Text("c");
    b.Symbol(270).Bits(3, 6);  // length 3, distance code 3 (distance 4): "bab"
    b.Symbol(256);             // the same length and distance again: "cba"
    b.Symbol(257).Bits(0, 5);  // newest old distance (4), length code 0 (2): "bc"
    Result r = Decode(b.Bytes(), 13);
    ASSERT_EQ(r.status, kOk) << r.error;
    EXPECT_EQ(r.text, "ababcbabcbabc");
}

TEST(Rar2DecoderTest, SwitchesBetweenLzAndAudioInsideOneEntry) {
    // Two audio bytes through the predictor, then back to LZ.
    Rar2AudioPredictor predictor;
    int32_t channelDelta = 0;
    std::vector<uint8_t> deltas;
    for (uint8_t value : {uint8_t('M'), uint8_t('N')}) {
        uint8_t delta = uint8_t(predictor.Predict(channelDelta) - value);
        predictor.Update(delta, value, channelDelta);
        deltas.push_back(delta);
    }
    StreamBuilder b;
    b.LzTables().Text("xy").Symbol(Rar2Format::kSymbolNewTables).AudioTables(1);
    for (uint8_t d : deltas) b.Symbol(d);
    b.Symbol(Rar2Format::kAudioNewTables).LzTables().Text("z");
    Result r = Decode(b.Bytes(), 5);
    ASSERT_EQ(r.status, kOk) << r.error;
    EXPECT_EQ(r.text, "xyMNz");
}

TEST(Rar2DecoderTest, TrailingTablesCarryIntoTheNextSolidEntry) {
    // Entry one ends with the switch to audio tables; entry two, solid,
    // starts straight with audio codes.
    StreamBuilder first;
    first.LzTables().Text("ab").Symbol(Rar2Format::kSymbolNewTables).AudioTables(1);
    StreamBuilder second;
    second.Symbol(uint8_t(0 - 'Q'));  // the fresh predictor predicts 0
    Rar2Decoder decoder;
    ASSERT_EQ(decoder.Init(), kOk);
    Result one = Decode(decoder, first.Bytes(), 2);
    ASSERT_EQ(one.status, kOk) << one.error;
    EXPECT_EQ(one.text, "ab");
    Result two = Decode(decoder, second.Bytes(), 1, true);
    ASSERT_EQ(two.status, kOk) << two.error;
    EXPECT_EQ(two.text, "Q");
    const uint8_t q = 'Q';
    EXPECT_EQ(decoder.GetCrc(), Rar2Crc32::Compute(&q, 1));
}

// Damaged streams ------------------------------------------------------------

TEST(Rar2DecoderTest, RefusesMatchesBeforeTheData) {
    EXPECT_EQ(Decode(StreamBuilder().LzTables().Symbol(261).Bits(0, 2).Bytes(), 4).status, kFailed);
    // One byte written, distance 2.
    Result r = Decode(StreamBuilder().LzTables().Text("a").Symbol(261).Bits(1, 2).Bytes(), 3);
    EXPECT_EQ(r.status, kFailed);
    EXPECT_NE(r.error.find("before the start"), std::string::npos) << r.error;
    // Distance 1 after one byte is fine.
    r = Decode(StreamBuilder().LzTables().Text("a").Symbol(261).Bits(0, 2).Bytes(), 3);
    ASSERT_EQ(r.status, kOk) << r.error;
    EXPECT_EQ(r.text, "aaa");
}

TEST(Rar2DecoderTest, RefusesRepeatsWithoutAnEarlierMatch) {
    EXPECT_EQ(Decode(StreamBuilder().LzTables().Text("a").Symbol(256).Bytes(), 5).status, kFailed);
    // An old distance needs the (here empty) length code: damaged either way.
    EXPECT_EQ(Decode(StreamBuilder().LzTables().Text("a").Symbol(258).Bytes(), 5).status, kFailed);
}

TEST(Rar2DecoderTest, RefusesMatchesPastTheEntryEnd) {
    Result r = Decode(StreamBuilder().LzTables().Text("a").Symbol(261).Bits(0, 2).Bytes(), 2);
    EXPECT_EQ(r.status, kFailed);
    EXPECT_NE(r.error.find("past the end"), std::string::npos) << r.error;
}

TEST(Rar2DecoderTest, RefusesDamagedTables) {
    // Bit-length code with every symbol one bit long.
    EXPECT_EQ(Decode(StreamBuilder().Bits(0, 2).RawLevels(std::vector<uint8_t>(19, 1)).Bytes(), 1).status, kFailed);
    // "Repeat the previous length" as the very first length.
    std::vector<uint8_t> levels(19, 0);
    levels[16] = 1;
    levels[9] = 1;
    EXPECT_EQ(Decode(StreamBuilder().Bits(0, 2).RawLevels(levels).Bits(1, 1).Bits(0, 2).Bytes(), 1).status, kFailed);
    // Main lengths that over-fill the code: every symbol one bit.
    levels.assign(19, 0);
    levels[1] = 1;
    levels[18] = 1;
    StreamBuilder b;
    b.Bits(0, 2).RawLevels(levels);
    for (uint32_t i = 0; i < Rar2Format::kLzTableSize; ++i) b.Bits(0, 1);
    EXPECT_EQ(Decode(b.Bytes(), 1).status, kFailed);
}

TEST(Rar2DecoderTest, RefusesStreamsThatEndEarly) {
    Result r = Decode(StreamBuilder().LzTables().Text("abc").Bytes(), 64);
    EXPECT_EQ(r.status, kFailed);
    EXPECT_EQ(Decode(std::vector<uint8_t>(), 10).status, kFailed);
    std::vector<uint8_t> tables = StreamBuilder().LzTables().Bytes();
    tables.resize(tables.size() / 2);
    EXPECT_EQ(Decode(tables, 1).status, kFailed);
}

TEST(Rar2DecoderTest, ADamagedEntryBreaksItsSolidFollowers) {
    Rar2Decoder decoder;
    ASSERT_EQ(decoder.Init(), kOk);
    EXPECT_EQ(Decode(decoder, StreamBuilder().LzTables().Symbol(256).Bytes(), 3).status, kFailed);
    EXPECT_EQ(Decode(decoder, StreamBuilder().Text("abc").Bytes(), 3, true).status, kFailed);
    // A fresh entry starts over.
    Result r = Decode(decoder, StreamBuilder().LzTables().Text("ok").Bytes(), 2);
    ASSERT_EQ(r.status, kOk) << r.error;
    EXPECT_EQ(r.text, "ok");
}

}  // namespace
}  // namespace zel
