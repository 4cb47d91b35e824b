#include "tools/rar2/writer/Rar2Encoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/core/Status.h"

namespace zel {

namespace {

constexpr uint32_t kWindow = Rar2MatchFinder::kWindowSize;
constexpr uint32_t kNone = Rar2MatchFinder::kNone;
constexpr size_t kBlockTokens = 32768;
constexpr uint32_t kAudioBlock = 65536;
constexpr uint32_t kMaxInput = 1u << 30;

// Cost in bits of a code the last tables left unused: dear, not impossible.
constexpr uint8_t kUnusedCodeCost = 12;

struct Effort {
    uint32_t chain;
    uint32_t nice;
    uint32_t lazy;  // defer matches shorter than this to look one byte ahead
};

Effort EffortFor(uint8_t method) {
    switch (method) {
        case Rar2Format::kMethodFastest: return {4, 16, 0};
        case 0x32: return {16, 32, 16};
        case Rar2Format::kMethodNormal: return {48, 128, 64};
        case 0x34: return {256, 258, 258};
        default: return {1024, 258, 258};
    }
}

uint32_t CodeFor(const Rar2CodeTable& table, uint32_t count, uint32_t value) {
    uint32_t code = count - 1;
    while (table.base[code] > value) --code;
    return code;
}

// Lengths added by the decoder for far distances (new and repeated matches).
uint32_t NewMatchBonus(uint32_t d) {
    return (d >= Rar2Format::kDistanceBonus2) + (d >= Rar2Format::kDistanceBonus3);
}
uint32_t OldMatchBonus(uint32_t d) { return (d >= Rar2Format::kDistanceBonus1) + NewMatchBonus(d); }

}  // namespace

Rar2Encoder::~Rar2Encoder() {
    delete[] buffer_;
    delete[] lastPair_;
}

void Rar2Encoder::ResetState() {
    delete[] buffer_;
    buffer_ = nullptr;
    bufferSize_ = 0;
    inserted_ = 0;
    finder_.Reset();
    std::fill(lastPair_, lastPair_ + 65536, kNone);
    for (auto& d : oldDistance_) d = 0;
    oldDistancePtr_ = 0;
    lastDistance_ = 0;
    lastLength_ = 0;
    tablesWritten_ = false;
    audioMode_ = false;
    channels_ = 1;
    channel_ = 0;
    channelDelta_ = 0;
    for (auto& p : predictors_) p = Rar2AudioPredictor();
    tokens_.clear();
    std::fill(std::begin(mainFrequency_), std::end(mainFrequency_), 0);
    std::fill(std::begin(distanceFrequency_), std::end(distanceFrequency_), 0);
    std::fill(std::begin(repeatFrequency_), std::end(repeatFrequency_), 0);
    ResetCosts();
}

// Before any table exists: literals at 8 bits and rough match code costs.
void Rar2Encoder::ResetCosts() {
    for (uint32_t i = 0; i < Rar2Format::kMainSymbols; ++i)
        costMain_[i] = i < 256 ? 8 : (i == Rar2Format::kSymbolRepeatLast ? 5 : (i < Rar2Format::kSymbolShortMatch ? 6 : 7));
    std::fill(std::begin(costDistance_), std::end(costDistance_), 5);
    std::fill(std::begin(costRepeat_), std::end(costRepeat_), 3);
    literalCost8_ = 64;
}

// Called with the new tables and the block's frequencies still at hand.
void Rar2Encoder::UpdateCosts() {
    auto cost = [](uint32_t length) { return uint8_t(length ? length : kUnusedCodeCost); };
    uint64_t bits = 0;
    uint64_t count = 0;
    for (uint32_t i = 0; i < Rar2Format::kMainSymbols; ++i) {
        costMain_[i] = cost(main_.Length(i));
        if (i < 256) {
            bits += uint64_t(mainFrequency_[i]) * main_.Length(i);
            count += mainFrequency_[i];
        }
    }
    for (uint32_t i = 0; i < Rar2Format::kDistanceSymbols; ++i) costDistance_[i] = cost(distance_.Length(i));
    for (uint32_t i = 0; i < Rar2Format::kRepeatLengthSymbols; ++i) costRepeat_[i] = cost(repeatLength_.Length(i));
    literalCost8_ = count ? int32_t(bits * 8 / count) : 64;
    if (literalCost8_ < 8) literalCost8_ = 8;
}

int32_t Rar2Encoder::Encode(const uint8_t* data, size_t size, bool solid, const Options& options,
                            Rar2ByteBuffer& out) {
    if ((data == nullptr && size > 0) || size > kMaxInput || options.audioChannels > Rar2Format::kMaxChannels ||
        options.method <= Rar2Format::kMethodStore || options.method > Rar2Format::kMethodBest)
        return kInvalidArgument;
    if (lastPair_ == nullptr) {
        lastPair_ = new (std::nothrow) uint32_t[65536];
        if (lastPair_ == nullptr) return kOutOfMemory;
        if (finder_.Init() != kOk) {
            delete[] lastPair_;
            lastPair_ = nullptr;
            return kOutOfMemory;
        }
        solid = false;  // nothing to continue yet
    }
    if (!solid) ResetState();
    if (AppendInput(data, size) != kOk) return kOutOfMemory;

    uint32_t end = uint32_t(bufferSize_);
    uint32_t start = end - uint32_t(size);
    Effort effort = EffortFor(options.method);
    chain_ = effort.chain;
    nice_ = effort.nice;
    lazy_ = effort.lazy;
    Rar2BitWriter writer(out);
    if (size > 0) {
        if (options.audioChannels > 0)
            EncodeAudio(start, end, options.audioChannels, writer);
        else
            EncodeLz(start, end, writer);
    }
    writer.Flush();
    return out.Failed() ? kOutOfMemory : kOk;
}

// Keeps one to two windows of history before the new data; whole windows are
// dropped so the finder's ring slots keep their indices.
int32_t Rar2Encoder::AppendInput(const uint8_t* data, size_t size) {
    size_t drop = bufferSize_ > 2 * size_t(kWindow) ? ((bufferSize_ - kWindow) / kWindow) * kWindow : 0;
    size_t keep = bufferSize_ - drop;
    uint8_t* grown = new (std::nothrow) uint8_t[keep + size + 1];
    if (grown == nullptr) return kOutOfMemory;
    if (keep > 0) std::memcpy(grown, buffer_ + drop, keep);
    if (size > 0) std::memcpy(grown + keep, data, size);
    delete[] buffer_;
    buffer_ = grown;
    bufferSize_ = keep + size;
    if (drop > 0) {
        finder_.Shift(uint32_t(drop));
        for (uint32_t i = 0; i < 65536; ++i)
            lastPair_[i] = lastPair_[i] != kNone && lastPair_[i] >= drop ? lastPair_[i] - uint32_t(drop) : kNone;
        inserted_ -= uint32_t(drop);
    }
    return kOk;
}

void Rar2Encoder::InsertUpTo(uint32_t end) {
    uint32_t p = inserted_;
    for (; p < end && size_t(p) + 2 < bufferSize_; ++p) {
        finder_.Insert(buffer_, p);
        lastPair_[uint32_t(buffer_[p]) << 8 | buffer_[p + 1]] = p;
    }
    inserted_ = p;
}

Rar2Encoder::Choice Rar2Encoder::Evaluate(uint32_t pos, uint32_t end) const {
    Choice best;
    uint32_t available = end - pos;
    if (available < 2) return best;
    const uint8_t* here = buffer_ + pos;
    auto consider = [&best](uint32_t length, uint32_t distance, int32_t gain, int32_t slot) {
        if (gain > best.gain) best = {length, distance, gain, slot};
    };

    const auto& lengths = Rar2Format::kLengths;
    const int32_t literal = literalCost8_;
    for (int32_t slot = 0; slot < 4; ++slot) {
        uint32_t d = oldDistance_[(oldDistancePtr_ - 1 - uint32_t(slot)) & 3];
        if (d == 0 || d > pos) continue;
        uint32_t bonus = OldMatchBonus(d);
        uint32_t length = Rar2MatchFinder::MatchLength(here, here - d, std::min(available, 257 + bonus));
        if (d == lastDistance_ && lastLength_ > 0 && length >= lastLength_)
            consider(lastLength_, d, int32_t(lastLength_) * literal - 8 * costMain_[Rar2Format::kSymbolRepeatLast], 4);
        if (length < 2 + bonus) continue;
        uint32_t code = CodeFor(lengths, 28, length - 2 - bonus);
        int32_t bits = costMain_[Rar2Format::kSymbolOldDistance + slot] + costRepeat_[code] + lengths.bits[code];
        consider(length, d, int32_t(length) * literal - 8 * bits, slot);
    }

    uint32_t d = 0;
    uint32_t length = finder_.Find(buffer_, pos, std::min(available, Rar2Format::kMaxMatchLength), chain_, nice_,
                                    literalCost8_, d);
    if (length >= 3) {
        uint32_t bonus = NewMatchBonus(d);
        length = std::min(length, 258 + bonus);
        if (length >= 3 + bonus) {
            uint32_t code = CodeFor(lengths, 28, length - 3 - bonus);
            uint32_t dcode = CodeFor(Rar2Format::kDistances, 48, d - 1);
            int32_t bits = costMain_[Rar2Format::kSymbolMatch + code] + lengths.bits[code] + costDistance_[dcode] +
                           Rar2Format::kDistances.bits[dcode];
            consider(length, d, int32_t(length) * literal - 8 * bits, -1);
        }
    }

    if (best.length < 3) {
        uint32_t p = lastPair_[uint32_t(here[0]) << 8 | here[1]];
        if (p != kNone && p < pos && pos - p <= 256) {
            uint32_t code = CodeFor(Rar2Format::kShortDistances, 8, pos - p - 1);
            int32_t bits = costMain_[Rar2Format::kSymbolShortMatch + code] + Rar2Format::kShortDistances.bits[code];
            consider(2, pos - p, 2 * literal - 8 * bits, -1);
        }
    }
    return best;
}

void Rar2Encoder::AddLiteral(uint8_t byte) {
    tokens_.push_back({byte, kPlain, 0, 0, 0, 0, 0});
    ++mainFrequency_[byte];
}

void Rar2Encoder::AddMatch(const Choice& c) {
    Token t{};
    const auto& lengths = Rar2Format::kLengths;
    if (c.slot == 4) {
        t = {uint16_t(Rar2Format::kSymbolRepeatLast), kPlain, 0, 0, 0, 0, 0};
    } else if (c.slot >= 0) {
        uint32_t value = c.length - 2 - OldMatchBonus(c.distance);
        uint32_t code = CodeFor(lengths, 28, value);
        t = {uint16_t(Rar2Format::kSymbolOldDistance + c.slot), kOldMatch, uint8_t(code), lengths.bits[code], 0,
             uint16_t(value - lengths.base[code]), 0};
        ++repeatFrequency_[code];
    } else if (c.length == 2) {
        const auto& shorts = Rar2Format::kShortDistances;
        uint32_t code = CodeFor(shorts, 8, c.distance - 1);
        t = {uint16_t(Rar2Format::kSymbolShortMatch + code), kShortMatch, 0, shorts.bits[code], 0,
             uint16_t(c.distance - 1 - shorts.base[code]), 0};
    } else {
        const auto& distances = Rar2Format::kDistances;
        uint32_t value = c.length - 3 - NewMatchBonus(c.distance);
        uint32_t code = CodeFor(lengths, 28, value);
        uint32_t dcode = CodeFor(distances, 48, c.distance - 1);
        t = {uint16_t(Rar2Format::kSymbolMatch + code), kNewMatch, uint8_t(dcode), lengths.bits[code],
             distances.bits[dcode], uint16_t(value - lengths.base[code]), c.distance - 1 - distances.base[dcode]};
        ++distanceFrequency_[dcode];
    }
    ++mainFrequency_[t.symbol];
    tokens_.push_back(t);
    // The decoder records every match's distance, repeated ones included.
    oldDistance_[oldDistancePtr_++ & 3] = c.distance;
    lastDistance_ = c.distance;
    lastLength_ = c.length;
}

void Rar2Encoder::EncodeLz(uint32_t start, uint32_t end, Rar2BitWriter& out) {
    uint32_t pos = start;
    InsertUpTo(pos);
    Choice current = Evaluate(pos, end);
    while (pos < end) {
        if (tokens_.size() >= kBlockTokens) FlushBlock(out);
        if (current.length == 0) {
            AddLiteral(buffer_[pos++]);
        } else {
            if (current.length < lazy_ && pos + 1 < end) {
                InsertUpTo(pos + 1);
                Choice next = Evaluate(pos + 1, end);
                if (next.gain > current.gain) {
                    AddLiteral(buffer_[pos++]);
                    current = next;
                    continue;
                }
            }
            AddMatch(current);
            pos += current.length;
        }
        if (pos < end) {
            InsertUpTo(pos);
            current = Evaluate(pos, end);
        }
    }
    InsertUpTo(end);
    FlushBlock(out);
}

void Rar2Encoder::EncodeAudio(uint32_t start, uint32_t end, uint32_t channels, Rar2BitWriter& out) {
    std::vector<uint8_t> deltas;
    deltas.reserve(std::min<uint32_t>(end - start, kAudioBlock));
    for (uint32_t block = start; block < end; block += std::min(end - block, kAudioBlock)) {
        uint32_t blockEnd = block + std::min(end - block, kAudioBlock);
        uint32_t switchChannel = channel_;
        // The decoder restarts the channel rotation when it no longer fits.
        if (channel_ >= channels) channel_ = 0;
        uint32_t firstChannel = channel_;

        uint32_t frequency[Rar2Format::kMaxChannels][Rar2Format::kAudioSymbols] = {};
        deltas.clear();
        for (uint32_t p = block; p < blockEnd; ++p) {
            Rar2AudioPredictor& predictor = predictors_[channel_];
            uint8_t value = buffer_[p];
            uint8_t delta = uint8_t(predictor.Predict(channelDelta_) - value);
            predictor.Update(delta, value, channelDelta_);
            deltas.push_back(delta);
            ++frequency[channel_][delta];
            if (++channel_ == channels) channel_ = 0;
        }

        uint8_t lengths[Rar2Format::kMaxTableSize] = {};
        Rar2HuffmanEncoder codes[Rar2Format::kMaxChannels];
        for (uint32_t c = 0; c < channels; ++c) {
            frequency[c][Rar2Format::kAudioNewTables] = 1;  // every channel can switch tables
            codes[c].Build(frequency[c], Rar2Format::kAudioSymbols);
            std::memcpy(lengths + c * Rar2Format::kAudioSymbols, codes[c].Lengths(), Rar2Format::kAudioSymbols);
        }
        if (tablesWritten_) {
            uint32_t next = channel_;
            channel_ = switchChannel;  // the old tables are read on the old channel
            WriteSwitch(out);
            channel_ = next;
        }
        WriteTables(out, lengths, Rar2Format::kAudioSymbols * channels, true, channels);
        for (uint32_t c = 0; c < channels; ++c) audio_[c] = codes[c];
        uint32_t c = firstChannel;
        for (uint8_t delta : deltas) {
            audio_[c].Write(out, delta);
            if (++c == channels) c = 0;
        }
        tablesWritten_ = true;
        audioMode_ = true;
        channels_ = channels;
    }
    InsertUpTo(end);
}

void Rar2Encoder::WriteSwitch(Rar2BitWriter& out) {
    if (audioMode_)
        audio_[channel_].Write(out, Rar2Format::kAudioNewTables);
    else
        main_.Write(out, Rar2Format::kSymbolNewTables);
}

void Rar2Encoder::FlushBlock(Rar2BitWriter& out) {
    if (tokens_.empty()) return;
    mainFrequency_[Rar2Format::kSymbolNewTables] = 1;  // the next block or entry switches tables
    Rar2HuffmanEncoder main;
    Rar2HuffmanEncoder distance;
    Rar2HuffmanEncoder repeat;
    main.Build(mainFrequency_, Rar2Format::kMainSymbols);
    distance.Build(distanceFrequency_, Rar2Format::kDistanceSymbols);
    repeat.Build(repeatFrequency_, Rar2Format::kRepeatLengthSymbols);

    if (tablesWritten_) WriteSwitch(out);
    uint8_t lengths[Rar2Format::kLzTableSize];
    std::memcpy(lengths, main.Lengths(), Rar2Format::kMainSymbols);
    std::memcpy(lengths + Rar2Format::kMainSymbols, distance.Lengths(), Rar2Format::kDistanceSymbols);
    std::memcpy(lengths + Rar2Format::kMainSymbols + Rar2Format::kDistanceSymbols, repeat.Lengths(),
                Rar2Format::kRepeatLengthSymbols);
    WriteTables(out, lengths, Rar2Format::kLzTableSize, false, 1);
    main_ = main;
    distance_ = distance;
    repeatLength_ = repeat;
    tablesWritten_ = true;
    audioMode_ = false;
    UpdateCosts();

    for (const Token& t : tokens_) {
        main_.Write(out, t.symbol);
        switch (t.kind) {
            case kNewMatch:
                out.Write(t.extraA, t.bitsA);
                distance_.Write(out, t.sub);
                out.Write(t.extraB, t.bitsB);
                break;
            case kOldMatch:
                repeatLength_.Write(out, t.sub);
                out.Write(t.extraA, t.bitsA);
                break;
            case kShortMatch:
                out.Write(t.extraA, t.bitsA);
                break;
            default:
                break;
        }
    }
    tokens_.clear();
    std::fill(std::begin(mainFrequency_), std::end(mainFrequency_), 0);
    std::fill(std::begin(distanceFrequency_), std::end(distanceFrequency_), 0);
    std::fill(std::begin(repeatFrequency_), std::end(repeatFrequency_), 0);
}

// Fresh tables (the "add to previous" bit clear): lengths run-length coded
// with the bit-length alphabet, which is itself sent as 19 four-bit lengths.
void Rar2Encoder::WriteTables(Rar2BitWriter& out, const uint8_t* lengths, uint32_t size, bool audio,
                              uint32_t channels) {
    struct Level {
        uint8_t symbol;
        uint8_t bits;
        uint8_t extra;
    };
    std::vector<Level> levels;
    levels.reserve(size);
    uint32_t frequency[Rar2Format::kLevelSymbols] = {};
    auto emit = [&](uint32_t symbol, uint32_t bits, uint32_t extra) {
        levels.push_back({uint8_t(symbol), uint8_t(bits), uint8_t(extra)});
        ++frequency[symbol];
    };
    for (uint32_t i = 0; i < size;) {
        uint32_t v = lengths[i];
        uint32_t run = 1;
        while (i + run < size && lengths[i + run] == v) ++run;
        if (v == 0) {
            run = std::min(run, 138u);
            if (run >= 11) {
                emit(Rar2Format::kLevelManyZeros, 7, run - 11);
            } else if (run >= 3) {
                emit(Rar2Format::kLevelZeros, 3, run - 3);
            } else {
                emit(0, 0, 0);
                run = 1;
            }
            i += run;
            continue;
        }
        emit(v, 0, 0);
        ++i;
        for (--run; run >= 3;) {
            uint32_t n = std::min(run, 6u);
            emit(Rar2Format::kLevelRepeat, 2, n - 3);
            run -= n;
            i += n;
        }
    }

    Rar2HuffmanEncoder levelCode;
    levelCode.Build(frequency, Rar2Format::kLevelSymbols);
    out.Write(audio ? 1 : 0, 1);
    out.Write(0, 1);
    if (audio) out.Write(channels - 1, 2);
    for (uint32_t i = 0; i < Rar2Format::kLevelSymbols; ++i) out.Write(levelCode.Length(i), 4);
    for (const Level& l : levels) {
        levelCode.Write(out, l.symbol);
        out.Write(l.extra, l.bits);
    }
}

}  // namespace zel
