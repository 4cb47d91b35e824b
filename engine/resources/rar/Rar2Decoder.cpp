#include "engine/resources/rar/Rar2Decoder.h"

#include <cstring>
#include <new>

#include "engine/core/Status.h"
#include "engine/resources/rar/Rar2Crc32.h"

namespace zel {

namespace {

constexpr size_t kWindowMask = Rar2Decoder::kWindowSize - 1;
constexpr size_t kCopySlack = 16;  // 8-byte match copies may run past the ring end

}  // namespace

Rar2Decoder::~Rar2Decoder() { delete[] window_; }

int32_t Rar2Decoder::Init() {
    if (window_ != nullptr) return kOk;
    window_ = new (std::nothrow) uint8_t[kWindowSize + kCopySlack];
    if (window_ == nullptr) return kOutOfMemory;
    std::memset(window_, 0, kWindowSize + kCopySlack);
    ResetState();
    return kOk;
}

void Rar2Decoder::ResetState() {
    pos_ = 0;
    total_ = 0;
    std::memset(lastTable_, 0, sizeof lastTable_);
    for (auto& d : oldDistance_) d = 0;
    oldDistancePtr_ = 0;
    lastDistance_ = 0;
    lastLength_ = 0;
    audioMode_ = false;
    channels_ = 1;
    channel_ = 0;
    channelDelta_ = 0;
    for (auto& p : predictors_) p = Rar2AudioPredictor();
    tablesRead_ = false;
    broken_ = false;
}

int32_t Rar2Decoder::Fail(const char* reason) {
    error_ = reason;
    broken_ = true;
    return kFailed;
}

int32_t Rar2Decoder::Decode(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize,
                            bool solid) {
    if (window_ == nullptr) return Fail("decoder not initialised");
    if (!solid) ResetState();
    if (broken_) return Fail("the solid group's previous entry is damaged");
    in_.Reset(packed, packedSize);
    crc_ = 0;

    if (outSize == 0) {
        // An empty entry may still carry tables its solid followers use; a
        // failure there only breaks the followers (Fail marks the state).
        if (packedSize > 0 && !tablesRead_ && ReadTables() != kOk) return kOk;
        if (tablesRead_) ReadTrailingTables();
        return kOk;
    }
    if (!tablesRead_ && ReadTables() != kOk) return kFailed;

    size_t left = outSize;
    while (left > 0) {
        size_t limit = left < kChunkSize ? left : kChunkSize;
        size_t start = pos_;
        size_t produced = 0;
        while (produced < limit) {
            int32_t status = audioMode_ ? DecodeAudio(limit, produced)
                                        : DecodeLz(limit, left, produced);
            if (status != kOk) return status;
        }
        if (in_.Overrun()) return Fail("compressed data ends early");
        total_ += produced;
        Flush(out, start, produced);
        if (out != nullptr) out += produced;
        left -= produced;
    }
    ReadTrailingTables();
    return kOk;
}

// Tables: one bit audio mode, one bit "add to the previous lengths", for audio
// two bits channel count - 1; then 19 four-bit lengths of the bit-length code
// and every symbol length coded with it.
int32_t Rar2Decoder::ReadTables() {
    bool audio = in_.Read(1) != 0;
    if (in_.Read(1) == 0) std::memset(lastTable_, 0, sizeof lastTable_);
    uint32_t size = Rar2Format::kLzTableSize;
    if (audio) {
        channels_ = in_.Read(2) + 1;
        if (channel_ >= channels_) channel_ = 0;
        size = Rar2Format::kAudioSymbols * channels_;
    }

    uint8_t levels[Rar2Format::kLevelSymbols];
    for (auto& level : levels) level = uint8_t(in_.Read(4));
    Rar2HuffmanDecoder levelCode;
    if (levelCode.Build(levels, Rar2Format::kLevelSymbols) != kOk) return Fail("bad bit-length table");

    uint8_t table[Rar2Format::kMaxTableSize];
    uint32_t i = 0;
    while (i < size) {
        int32_t symbol = levelCode.Decode(in_);
        if (symbol < 0) return Fail("bad code in the table lengths");
        if (symbol < 16) {
            table[i] = uint8_t((symbol + lastTable_[i]) & 0xF);
            ++i;
        } else if (symbol == int32_t(Rar2Format::kLevelRepeat)) {
            if (i == 0) return Fail("table repeat before the first length");
            uint32_t n = in_.Read(2) + 3;
            for (; n > 0 && i < size; --n, ++i) table[i] = table[i - 1];
        } else {
            uint32_t n = symbol == int32_t(Rar2Format::kLevelZeros) ? in_.Read(3) + 3 : in_.Read(7) + 11;
            for (; n > 0 && i < size; --n, ++i) table[i] = 0;
        }
    }
    if (in_.Overrun()) return Fail("compressed data ends inside the tables");

    if (audio) {
        for (uint32_t c = 0; c < channels_; ++c)
            if (audio_[c].Build(table + c * Rar2Format::kAudioSymbols, Rar2Format::kAudioSymbols) != kOk)
                return Fail("bad audio table");
    } else {
        if (main_.Build(table, Rar2Format::kMainSymbols) != kOk ||
            distance_.Build(table + Rar2Format::kMainSymbols, Rar2Format::kDistanceSymbols) != kOk ||
            repeatLength_.Build(table + Rar2Format::kMainSymbols + Rar2Format::kDistanceSymbols,
                                Rar2Format::kRepeatLengthSymbols) != kOk)
            return Fail("bad table");
    }
    std::memcpy(lastTable_, table, size);
    audioMode_ = audio;
    tablesRead_ = true;
    return kOk;
}

// The archiver may end an entry with the switch to the next entry's tables;
// it is there only when at least five bytes are left after the last symbol.
void Rar2Decoder::ReadTrailingTables() {
    if (in_.RemainingBytes() < 5) return;
    int32_t symbol = audioMode_ ? audio_[channel_].Decode(in_) : main_.Decode(in_);
    int32_t wanted = int32_t(audioMode_ ? Rar2Format::kAudioNewTables : Rar2Format::kSymbolNewTables);
    if (symbol == wanted && ReadTables() != kOk) broken_ = true;
}

int32_t Rar2Decoder::DecodeLz(size_t limit, size_t fileLeft, size_t& produced) {
    const auto& lengths = Rar2Format::kLengths;
    while (produced < limit) {
        int32_t symbol = main_.Decode(in_);
        if (uint32_t(symbol) < 256) {
            window_[pos_] = uint8_t(symbol);
            pos_ = (pos_ + 1) & kWindowMask;
            ++produced;
            continue;
        }
        if (symbol < 0) return Fail("bad symbol code");
        uint32_t length;
        uint32_t distance;
        if (symbol >= int32_t(Rar2Format::kSymbolMatch)) {
            uint32_t code = uint32_t(symbol) - Rar2Format::kSymbolMatch;
            length = lengths.base[code] + 3 + in_.Read(lengths.bits[code]);
            int32_t d = distance_.Decode(in_);
            if (d < 0) return Fail("bad distance code");
            distance = Rar2Format::kDistances.base[d] + 1 + in_.Read(Rar2Format::kDistances.bits[d]);
            if (distance >= Rar2Format::kDistanceBonus2) {
                ++length;
                if (distance >= Rar2Format::kDistanceBonus3) ++length;
            }
        } else if (symbol == int32_t(Rar2Format::kSymbolNewTables)) {
            if (ReadTables() != kOk) return kFailed;
            if (audioMode_) return kOk;
            continue;
        } else if (symbol == int32_t(Rar2Format::kSymbolRepeatLast)) {
            length = lastLength_;
            distance = lastDistance_;
        } else if (symbol < int32_t(Rar2Format::kSymbolShortMatch)) {
            distance = oldDistance_[(oldDistancePtr_ - uint32_t(symbol - 256)) & 3];
            int32_t code = repeatLength_.Decode(in_);
            if (code < 0) return Fail("bad length code");
            length = lengths.base[code] + 2 + in_.Read(lengths.bits[code]);
            if (distance >= Rar2Format::kDistanceBonus1) {
                ++length;
                if (distance >= Rar2Format::kDistanceBonus2) {
                    ++length;
                    if (distance >= Rar2Format::kDistanceBonus3) ++length;
                }
            }
        } else {
            uint32_t code = uint32_t(symbol) - Rar2Format::kSymbolShortMatch;
            const auto& shorts = Rar2Format::kShortDistances;
            distance = shorts.base[code] + 1 + in_.Read(shorts.bits[code]);
            length = 2;
        }

        if (length == 0 || distance == 0) return Fail("match without a previous match");
        if (distance > total_ + produced) return Fail("match reaches before the start of the data");
        if (length > fileLeft - produced) return Fail("match runs past the end of the entry");
        oldDistance_[oldDistancePtr_++ & 3] = distance;
        lastDistance_ = distance;
        lastLength_ = length;
        CopyMatch(distance, length);
        produced += length;
    }
    return kOk;
}

int32_t Rar2Decoder::DecodeAudio(size_t limit, size_t& produced) {
    while (produced < limit) {
        int32_t symbol = audio_[channel_].Decode(in_);
        if (symbol < 0) return Fail("bad audio code");
        if (symbol == int32_t(Rar2Format::kAudioNewTables)) {
            if (ReadTables() != kOk) return kFailed;
            if (!audioMode_) return kOk;
            continue;
        }
        Rar2AudioPredictor& predictor = predictors_[channel_];
        uint8_t delta = uint8_t(symbol);
        uint8_t value = uint8_t(predictor.Predict(channelDelta_) - delta);
        predictor.Update(delta, value, channelDelta_);
        window_[pos_] = value;
        pos_ = (pos_ + 1) & kWindowMask;
        ++produced;
        if (++channel_ == channels_) channel_ = 0;
    }
    return kOk;
}

void Rar2Decoder::CopyMatch(uint32_t distance, uint32_t length) {
    size_t from = (pos_ - distance) & kWindowMask;
    uint8_t* w = window_;
    if (from + length <= kWindowSize && pos_ + length <= kWindowSize) {
        uint8_t* d = w + pos_;
        const uint8_t* s = w + from;
        if (distance >= 8) {
            // Eight bytes at a time: each load lies wholly behind the store.
            for (uint32_t i = 0; i < length; i += 8) std::memcpy(d + i, s + i, 8);
        } else if (distance == 1) {
            std::memset(d, *s, length);
        } else {
            for (uint32_t i = 0; i < length; ++i) d[i] = s[i];
        }
    } else {
        for (uint32_t i = 0; i < length; ++i)
            w[(pos_ + i) & kWindowMask] = w[(from + i) & kWindowMask];
    }
    pos_ = (pos_ + length) & kWindowMask;
}

// Hands a decoded chunk (ring positions start..start+count) to the CRC and,
// when given, to the output.
void Rar2Decoder::Flush(uint8_t* out, size_t start, size_t count) {
    size_t first = kWindowSize - start < count ? kWindowSize - start : count;
    crc_ = Rar2Crc32::Update(crc_, window_ + start, first);
    crc_ = Rar2Crc32::Update(crc_, window_, count - first);
    if (out == nullptr) return;
    std::memcpy(out, window_ + start, first);
    std::memcpy(out + first, window_, count - first);
}

}  // namespace zel
