// Decoder of the RAR 2.0 compression (unpack version 20): LZ with a sliding
// window of up to 1 MiB distance, Huffman-coded symbols, and the multimedia
// (audio) mode with one predictor per channel. State survives between entries
// so a solid group can be decoded entry after entry.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/resources/rar/Rar2AudioPredictor.h"
#include "engine/resources/rar/Rar2BitReader.h"
#include "engine/resources/rar/Rar2Format.h"
#include "engine/resources/rar/Rar2HuffmanDecoder.h"

namespace zel {

class Rar2Decoder {
public:
    Rar2Decoder() = default;
    ~Rar2Decoder();
    Rar2Decoder(const Rar2Decoder&) = delete;
    Rar2Decoder& operator=(const Rar2Decoder&) = delete;

    // Allocates the window. kOk, or kOutOfMemory.
    int32_t Init();

    // Decodes one entry. `solid`: continue the window, tables and distances
    // of the previous entry (file header flag 0x10); otherwise start afresh.
    // `out` receives exactly outSize bytes; it may be null to run an entry of
    // a solid group only for its effect on the window. kOk, or kFailed with
    // the reason in GetError() (damaged data: the state is then unusable for
    // a solid continuation until the next non-solid entry).
    int32_t Decode(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize, bool solid);

    const char* GetError() const { return error_; }
    // CRC-32 of the bytes the last Decode produced, whether or not `out` was given.
    uint32_t GetCrc() const { return crc_; }

    // Ring large enough that no distance (at most 1 MiB) reaches a byte that
    // a pending chunk of output (at most 1 MiB) is about to overwrite.
    static constexpr size_t kWindowSize = size_t(1) << 21;
    static constexpr size_t kChunkSize = size_t(1) << 20;

private:
    void ResetState();
    int32_t Fail(const char* reason);
    int32_t ReadTables();
    void ReadTrailingTables();
    int32_t DecodeLz(size_t limit, size_t fileLeft, size_t& produced);
    int32_t DecodeAudio(size_t limit, size_t& produced);
    void CopyMatch(uint32_t distance, uint32_t length);
    void Flush(uint8_t* out, size_t start, size_t count);

    uint8_t* window_ = nullptr;  // owned; kWindowSize bytes plus copy slack
    size_t pos_ = 0;             // next write position in the ring
    uint64_t total_ = 0;         // bytes decoded since the group started

    Rar2BitReader in_;
    Rar2HuffmanDecoder main_;
    Rar2HuffmanDecoder distance_;
    Rar2HuffmanDecoder repeatLength_;
    Rar2HuffmanDecoder audio_[Rar2Format::kMaxChannels];
    uint8_t lastTable_[Rar2Format::kMaxTableSize] = {};

    uint32_t oldDistance_[4] = {};
    uint32_t oldDistancePtr_ = 0;
    uint32_t lastDistance_ = 0;
    uint32_t lastLength_ = 0;

    bool audioMode_ = false;
    uint32_t channels_ = 1;
    uint32_t channel_ = 0;
    int32_t channelDelta_ = 0;
    Rar2AudioPredictor predictors_[Rar2Format::kMaxChannels];

    bool tablesRead_ = false;
    bool broken_ = false;  // a failure left the state unfit for continuation
    const char* error_ = "";
    uint32_t crc_ = 0;
};

}  // namespace zel
