// Constants of the RAR 2.0 archive format (headers and the unpack version 20
// compression), shared by the reader, the decoder and the compressor.
#pragma once

#include <array>
#include <cstdint>

namespace zel {

// Base value and extra bit count of each length or distance code.
struct Rar2CodeTable {
    std::array<uint32_t, 48> base{};
    std::array<uint8_t, 48> bits{};
};

// Each code's base is the sum of the ranges of the codes before it.
constexpr Rar2CodeTable MakeRar2CodeTable(const uint8_t* bits, uint32_t count) {
    Rar2CodeTable table;
    uint32_t base = 0;
    for (uint32_t i = 0; i < count; ++i) {
        table.base[i] = base;
        table.bits[i] = bits[i];
        base += 1u << bits[i];
    }
    return table;
}

constexpr uint8_t kRar2LengthBits[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                                         2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
constexpr uint8_t kRar2DistanceBits[48] = {
    0,  0,  0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,  7,  7,  8,  8,  9,  9,  10, 10,
    11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};
constexpr uint8_t kRar2ShortDistanceBits[8] = {2, 2, 3, 4, 5, 6, 6, 6};

class Rar2Format {
public:
    // Block headers.
    static constexpr uint8_t kMarker[7] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
    static constexpr uint32_t kBlockHeaderSize = 7;   // CRC, type, flags, size
    static constexpr uint32_t kMainHeaderSize = 13;
    static constexpr uint32_t kFileHeaderSize = 32;   // without the name
    static constexpr uint8_t kBlockMain = 0x73;
    static constexpr uint8_t kBlockFile = 0x74;
    static constexpr uint8_t kBlockEnd = 0x7B;

    static constexpr uint16_t kFlagHasAddSize = 0x8000;  // any block: 4-byte data size follows

    static constexpr uint16_t kMainVolume = 0x0001;
    static constexpr uint16_t kMainComment = 0x0002;
    static constexpr uint16_t kMainSolid = 0x0008;
    static constexpr uint16_t kMainEncryptedHeaders = 0x0080;

    static constexpr uint16_t kFileSplitBefore = 0x0001;
    static constexpr uint16_t kFileSplitAfter = 0x0002;
    static constexpr uint16_t kFileEncrypted = 0x0004;
    static constexpr uint16_t kFileComment = 0x0008;
    static constexpr uint16_t kFileSolid = 0x0010;
    static constexpr uint16_t kFileDictionaryMask = 0x00E0;
    static constexpr uint16_t kFileDirectory = 0x00E0;  // all three dictionary bits
    static constexpr uint16_t kFileLarge = 0x0100;
    static constexpr uint16_t kFileUnicodeName = 0x0200;
    static constexpr uint16_t kFileSalt = 0x0400;
    static constexpr uint16_t kFileExtendedTime = 0x1000;

    static constexpr uint8_t kHostMsDos = 0;
    static constexpr uint8_t kHostOs2 = 1;
    static constexpr uint8_t kHostWin32 = 2;
    static constexpr uint8_t kHostUnix = 3;
    static constexpr uint8_t kHostBeOs = 5;

    static constexpr uint32_t kDosAttributeReadOnly = 0x01;
    static constexpr uint32_t kDosAttributeDirectory = 0x10;
    static constexpr uint32_t kDosAttributeArchive = 0x20;

    static constexpr uint8_t kMethodStore = 0x30;
    static constexpr uint8_t kMethodFastest = 0x31;
    static constexpr uint8_t kMethodNormal = 0x33;
    static constexpr uint8_t kMethodBest = 0x35;

    // Unpack version 26 is the same algorithm, written for files over 2 GiB.
    static constexpr uint8_t kUnpackVersion = 20;
    static constexpr uint8_t kUnpackVersionLarge = 26;

    // Dictionary size of the file header flags 0x00..0xC0: 64 KiB << (flags >> 5).
    static constexpr uint32_t DictionarySize(uint16_t flags) {
        return (flags & kFileDictionaryMask) == kFileDirectory
                   ? 0u
                   : (64u * 1024u) << ((flags & kFileDictionaryMask) >> 5);
    }

    // Compressed stream: alphabets of the main (literal/length), distance,
    // repeated-distance length, bit-length and audio tables.
    static constexpr uint32_t kMainSymbols = 298;
    static constexpr uint32_t kDistanceSymbols = 48;
    static constexpr uint32_t kRepeatLengthSymbols = 28;
    static constexpr uint32_t kLevelSymbols = 19;
    static constexpr uint32_t kAudioSymbols = 257;
    static constexpr uint32_t kMaxChannels = 4;
    static constexpr uint32_t kLzTableSize = kMainSymbols + kDistanceSymbols + kRepeatLengthSymbols;
    static constexpr uint32_t kMaxTableSize = kAudioSymbols * kMaxChannels;
    static constexpr uint32_t kMaxCodeLength = 15;

    // Main alphabet layout.
    static constexpr uint32_t kSymbolRepeatLast = 256;   // last length and distance again
    static constexpr uint32_t kSymbolOldDistance = 257;  // 257..260: one of the four last distances
    static constexpr uint32_t kSymbolShortMatch = 261;   // 261..268: length 2, distance <= 256
    static constexpr uint32_t kSymbolNewTables = 269;
    static constexpr uint32_t kSymbolMatch = 270;        // 270..297: length code, then a distance
    static constexpr uint32_t kAudioNewTables = 256;

    // Bit-length alphabet: 0..15 a length (added to the previous table's),
    // 16 repeat the previous length 3..6 times, 17 zeros 3..10, 18 zeros 11..138.
    static constexpr uint32_t kLevelRepeat = 16;
    static constexpr uint32_t kLevelZeros = 17;
    static constexpr uint32_t kLevelManyZeros = 18;

    // Lengths added to a decoded length once the distance reaches these.
    static constexpr uint32_t kDistanceBonus1 = 0x101;  // repeated distances only
    static constexpr uint32_t kDistanceBonus2 = 0x2000;
    static constexpr uint32_t kDistanceBonus3 = 0x40000;

    // The greatest distance a stream can express: the last distance code's
    // base plus its 16 extra bits, plus one.
    static constexpr uint32_t kMaxDistance = 0x100000;
    // The greatest length one symbol can produce (255 + 3 + 2 bonuses).
    static constexpr uint32_t kMaxMatchLength = 260;

    static constexpr Rar2CodeTable kLengths = MakeRar2CodeTable(kRar2LengthBits, 28);
    static constexpr Rar2CodeTable kDistances = MakeRar2CodeTable(kRar2DistanceBits, 48);
    static constexpr Rar2CodeTable kShortDistances = MakeRar2CodeTable(kRar2ShortDistanceBits, 8);

    static_assert(kDistances.base[47] + (1u << 16) == kMaxDistance);
    static_assert(kLengths.base[27] + (1u << 5) - 1 == 255);
    static_assert(kShortDistances.base[7] + (1u << 6) == 256);
};

}  // namespace zel
