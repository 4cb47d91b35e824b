// Compressor producing RAR 2.0 streams (unpack version 20): LZ77 over a
// 1 MiB window with hash chains and lazy matching, the format's repeated-
// distance and short-match codes, and Huffman tables rebuilt per block; or
// the multimedia mode for interleaved audio-like data. State survives
// between entries so a solid group can be written entry after entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/resources/rar/Rar2AudioPredictor.h"
#include "engine/resources/rar/Rar2ByteBuffer.h"
#include "engine/resources/rar/Rar2Format.h"
#include "tools/rar2/writer/Rar2BitWriter.h"
#include "tools/rar2/writer/Rar2HuffmanEncoder.h"
#include "tools/rar2/writer/Rar2MatchFinder.h"

namespace zel {

class Rar2Encoder {
public:
    struct Options {
        uint8_t method = Rar2Format::kMethodNormal;  // 0x31..0x35: search effort
        uint32_t audioChannels = 0;                  // 1..4: multimedia mode
    };

    Rar2Encoder() = default;
    ~Rar2Encoder();
    Rar2Encoder(const Rar2Encoder&) = delete;
    Rar2Encoder& operator=(const Rar2Encoder&) = delete;

    // Compresses data[size] as one entry's packed stream, appended to `out`.
    // `solid`: continue the previous entry's window, tables and distances,
    // as the decoder does for an entry with the solid flag. kOk;
    // kInvalidArgument for bad options or null data with a size;
    // kOutOfMemory.
    int32_t Encode(const uint8_t* data, size_t size, bool solid, const Options& options, Rar2ByteBuffer& out);

private:
    struct Token {
        uint16_t symbol;   // main alphabet
        uint8_t kind;      // Kind below
        uint8_t sub;       // distance code or repeated-length code
        uint8_t bitsA;
        uint8_t bitsB;
        uint16_t extraA;   // length extra bits, or short distance extra bits
        uint32_t extraB;   // distance extra bits
    };
    enum Kind : uint8_t { kPlain, kNewMatch, kOldMatch, kShortMatch };

    struct Choice {
        uint32_t length = 0;
        uint32_t distance = 0;
        int32_t gain = 0;
        int32_t slot = -1;  // 0..3 repeated distance (0 newest), 4 repeat last, -1 new / short
    };

    void ResetState();
    int32_t AppendInput(const uint8_t* data, size_t size);
    void InsertUpTo(uint32_t end);
    Choice Evaluate(uint32_t pos, uint32_t end) const;
    void EncodeLz(uint32_t start, uint32_t end, Rar2BitWriter& out);
    void EncodeAudio(uint32_t start, uint32_t end, uint32_t channels, Rar2BitWriter& out);
    void AddLiteral(uint8_t byte);
    void AddMatch(const Choice& choice);
    void FlushBlock(Rar2BitWriter& out);
    void WriteSwitch(Rar2BitWriter& out);
    void WriteTables(Rar2BitWriter& out, const uint8_t* lengths, uint32_t size, bool audio, uint32_t channels);

    Rar2MatchFinder finder_;
    uint8_t* buffer_ = nullptr;  // owned: kept history, then the current entry
    size_t bufferSize_ = 0;
    uint32_t inserted_ = 0;      // positions below this are in the finder
    uint32_t* lastPair_ = nullptr;  // owned: newest position of each 2-byte value
    uint32_t chain_ = 0;  // search effort of the current entry
    uint32_t nice_ = 0;
    uint32_t lazy_ = 0;

    uint32_t oldDistance_[4] = {};
    uint32_t oldDistancePtr_ = 0;
    uint32_t lastDistance_ = 0;
    uint32_t lastLength_ = 0;

    bool tablesWritten_ = false;  // the decoder holds tables of this group
    bool audioMode_ = false;
    uint32_t channels_ = 1;
    uint32_t channel_ = 0;
    int32_t channelDelta_ = 0;
    Rar2AudioPredictor predictors_[Rar2Format::kMaxChannels];

    Rar2HuffmanEncoder main_;
    Rar2HuffmanEncoder distance_;
    Rar2HuffmanEncoder repeatLength_;
    Rar2HuffmanEncoder audio_[Rar2Format::kMaxChannels];

    void ResetCosts();
    void UpdateCosts();

    // Estimated bits of each code (from the last block's tables) and of an
    // average literal in eighths of a bit: what a candidate match saves.
    uint8_t costMain_[Rar2Format::kMainSymbols] = {};
    uint8_t costDistance_[Rar2Format::kDistanceSymbols] = {};
    uint8_t costRepeat_[Rar2Format::kRepeatLengthSymbols] = {};
    int32_t literalCost8_ = 64;

    std::vector<Token> tokens_;
    uint32_t mainFrequency_[Rar2Format::kMainSymbols] = {};
    uint32_t distanceFrequency_[Rar2Format::kDistanceSymbols] = {};
    uint32_t repeatFrequency_[Rar2Format::kRepeatLengthSymbols] = {};
};

}  // namespace zel
