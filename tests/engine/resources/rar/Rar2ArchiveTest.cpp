// Reading archives written by the original archiver, and refusing damaged ones.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "engine/core/Status.h"
#include "engine/resources/rar/Rar2Archive.h"
#include "engine/resources/rar/Rar2Crc32.h"
#include "engine/resources/rar/Rar2Format.h"
#include "tests/engine/resources/rar/Rar2TestData.h"

namespace zel {
namespace {

using rar2test::DataPath;
using rar2test::ReadBytes;

struct Unpacked {
    int32_t status = -1;
    std::vector<uint8_t> bytes;
};

Unpacked ExtractNamed(Rar2Archive& archive, const char* name) {
    Unpacked result;
    uint8_t* data = nullptr;
    size_t size = 0;
    result.status = archive.Extract(name, &data, &size);
    if (data != nullptr) result.bytes.assign(data, data + size);
    delete[] data;
    return result;
}

// Real archives -------------------------------------------------------------

TEST(Rar2ArchiveTest, ListsTheRealArchiveInArchiveOrder) {
    std::vector<uint8_t> bytes = ReadBytes(DataPath("Rar2.rar"));
    ASSERT_FALSE(bytes.empty());
    Rar2Archive archive;
    ASSERT_EQ(archive.Open(bytes.data(), bytes.size()), kOk) << archive.GetError();
    ASSERT_EQ(archive.GetEntryCount(), 5u);
    EXPECT_FALSE(archive.IsSolid());

    const Rar2Entry& exeDir = archive.GetEntry(0);
    EXPECT_EQ(exeDir.name, "exe");
    EXPECT_TRUE(exeDir.isDirectory);
    EXPECT_EQ(exeDir.attributes & 0x10u, 0x10u);
    EXPECT_EQ(archive.GetEntry(1).name, "jpg");
    EXPECT_TRUE(archive.GetEntry(1).isDirectory);

    int64_t exe = archive.FindEntry("exe\\test.exe");
    int64_t jpg = archive.FindEntry("jpg\\test.jpg");
    ASSERT_GE(exe, 2);
    ASSERT_GE(jpg, 2);
    EXPECT_EQ(archive.GetEntry(size_t(exe)).unpackedSize, 45056u);
    EXPECT_EQ(archive.GetEntry(size_t(exe)).crc32, 0xCFB109C8u);
    EXPECT_EQ(archive.GetEntry(size_t(jpg)).unpackedSize, 40372u);
    EXPECT_EQ(archive.GetEntry(size_t(jpg)).method, Rar2Format::kMethodBest);
    EXPECT_EQ(archive.GetEntry(size_t(jpg)).unpackVersion, 20);
    EXPECT_FALSE(archive.GetEntry(size_t(jpg)).isDirectory);
}

TEST(Rar2ArchiveTest, ExtractsEveryFileOfTheRealArchive) {
    std::vector<uint8_t> bytes = ReadBytes(DataPath("Rar2.rar"));
    Rar2Archive archive;
    ASSERT_EQ(archive.Open(bytes.data(), bytes.size()), kOk);

    Unpacked exe = ExtractNamed(archive, "exe\\test.exe");
    ASSERT_EQ(exe.status, kOk) << archive.GetError();
    EXPECT_EQ(exe.bytes.size(), 45056u);
    EXPECT_EQ(Rar2Crc32::Compute(exe.bytes.data(), exe.bytes.size()), 0xCFB109C8u);

    Unpacked jpg = ExtractNamed(archive, "jpg\\test.jpg");
    ASSERT_EQ(jpg.status, kOk) << archive.GetError();
    EXPECT_EQ(jpg.bytes, ReadBytes(DataPath("test.jpg")));

    // The third file has a Unicode name; its 8-bit name is what is listed.
    bool sawUnicode = false;
    for (size_t i = 0; i < archive.GetEntryCount(); ++i) {
        const Rar2Entry& e = archive.GetEntry(i);
        if (!(e.flags & Rar2Format::kFileUnicodeName)) continue;
        sawUnicode = true;
        EXPECT_FALSE(e.name.empty());
        EXPECT_EQ(e.name.find('\0'), std::string::npos);
        uint8_t* data = nullptr;
        size_t size = 0;
        ASSERT_EQ(archive.Extract(i, &data, &size), kOk) << archive.GetError();
        EXPECT_EQ(size, 15498u);
        EXPECT_EQ(Rar2Crc32::Compute(data, size), 0x9BD160FAu);
        delete[] data;
    }
    EXPECT_TRUE(sawUnicode);
}

TEST(Rar2ArchiveTest, ExtractsBothEntriesOfTheSolidArchiveInAnyOrder) {
    std::vector<uint8_t> bytes = ReadBytes(DataPath("solid5.rar"));
    std::vector<uint8_t> expected = ReadBytes(DataPath("solid5-expected.bin"));
    ASSERT_EQ(expected.size(), 16384u);
    Rar2Archive archive;
    ASSERT_EQ(archive.Open(bytes.data(), bytes.size()), kOk) << archive.GetError();
    EXPECT_TRUE(archive.IsSolid());
    ASSERT_EQ(archive.GetEntryCount(), 2u);
    EXPECT_EQ(archive.GetEntry(0).name, "p5.bin");
    EXPECT_EQ(archive.GetEntry(1).name, "p5_solid.bin");
    EXPECT_TRUE(archive.GetEntry(1).flags & Rar2Format::kFileSolid);

    // The second entry first: it needs the first decoded before it.
    for (const char* name : {"p5_solid.bin", "p5.bin", "p5_solid.bin"}) {
        Unpacked entry = ExtractNamed(archive, name);
        ASSERT_EQ(entry.status, kOk) << name << ": " << archive.GetError();
        EXPECT_EQ(entry.bytes, expected) << name;
    }
    EXPECT_EQ(Rar2Crc32::Compute(expected.data(), expected.size()), 0x10751ABAu);
}

TEST(Rar2ArchiveTest, RefusesDirectoriesAndUnknownNames) {
    std::vector<uint8_t> bytes = ReadBytes(DataPath("Rar2.rar"));
    Rar2Archive archive;
    ASSERT_EQ(archive.Open(bytes.data(), bytes.size()), kOk);
    EXPECT_EQ(ExtractNamed(archive, "exe").status, kInvalidArgument);
    EXPECT_EQ(ExtractNamed(archive, "missing.txt").status, kInvalidArgument);
    EXPECT_EQ(ExtractNamed(archive, "EXE\\TEST.EXE").status, kInvalidArgument);  // names are exact
    EXPECT_EQ(archive.Open(nullptr, 10), kInvalidArgument);
}

// Damaged archives ----------------------------------------------------------

// Rewrites the CRC-16 of the header at `at` after a field was changed, so
// the test reaches the check behind the header CRC.
void FixHeaderCrc(std::vector<uint8_t>& bytes, size_t at) {
    uint32_t headSize = bytes[at + 5] | bytes[at + 6] << 8;
    uint32_t crc = Rar2Crc32::Compute(bytes.data() + at + 2, headSize - 2);
    bytes[at] = uint8_t(crc);
    bytes[at + 1] = uint8_t(crc >> 8);
}

// Offset of the file header of entry `index` (headers follow one another).
size_t FileHeaderOffset(const std::vector<uint8_t>& bytes, size_t index) {
    size_t at = 7 + 13;
    for (size_t i = 0; i < index; ++i) {
        uint32_t headSize = bytes[at + 5] | bytes[at + 6] << 8;
        uint32_t packed = bytes[at + 7] | bytes[at + 8] << 8 | bytes[at + 9] << 16 | uint32_t(bytes[at + 10]) << 24;
        at += headSize + packed;
    }
    return at;
}

int32_t ExtractAll(const std::vector<uint8_t>& bytes) {
    Rar2Archive archive;
    int32_t status = archive.Open(bytes.data(), bytes.size());
    if (status != kOk) return status;
    for (size_t i = 0; i < archive.GetEntryCount(); ++i) {
        if (archive.GetEntry(i).isDirectory) continue;
        uint8_t* data = reinterpret_cast<uint8_t*>(1);
        size_t size = 7;
        int32_t s = archive.Extract(i, &data, &size);
        if (s != kOk) {
            EXPECT_EQ(data, nullptr);
            EXPECT_EQ(size, 0u);
            return s;
        }
        delete[] data;
    }
    return kOk;
}

TEST(Rar2ArchiveTest, EveryTruncationFailsCleanly) {
    std::vector<uint8_t> bytes = ReadBytes(DataPath("solid5.rar"));
    // Every cut either fails or, when it falls on a block boundary, lists fewer entries.
    for (size_t cut = 0; cut < bytes.size(); cut += (cut < 200 ? 1 : 97)) {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + cut);
        Rar2Archive archive;
        int32_t status = archive.Open(part.data(), part.size());
        if (status == kOk) {
            EXPECT_LT(archive.GetEntryCount(), 2u) << cut;
        }
    }
}

TEST(Rar2ArchiveTest, HeaderDamageIsRefused) {
    const std::vector<uint8_t> original = ReadBytes(DataPath("Rar2.rar"));
    size_t file = FileHeaderOffset(original, 2);
    ASSERT_EQ(original[file + 2], Rar2Format::kBlockFile);

    std::vector<uint8_t> bytes = original;
    bytes[file + 30] ^= 0x01;  // attributes, without fixing the CRC
    EXPECT_EQ(ExtractAll(bytes), kFailed);

    bytes = original;
    bytes[7 + 3] ^= 0x40;  // main header flags
    EXPECT_EQ(ExtractAll(bytes), kFailed);

    bytes = original;  // header size below the fixed part
    bytes[file + 5] = 20;
    bytes[file + 6] = 0;
    EXPECT_EQ(ExtractAll(bytes), kFailed);

    bytes = original;  // header size beyond the end
    bytes[file + 5] = 0xFF;
    bytes[file + 6] = 0xFF;
    EXPECT_EQ(ExtractAll(bytes), kFailed);

    bytes = original;  // packed size beyond the end
    bytes[file + 10] = 0x7F;
    FixHeaderCrc(bytes, file);
    EXPECT_EQ(ExtractAll(bytes), kFailed);

    bytes = original;  // name longer than its header
    bytes[file + 27] = 0x40;
    FixHeaderCrc(bytes, file);
    EXPECT_EQ(ExtractAll(bytes), kFailed);

    bytes = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07};  // marker cut short
    EXPECT_EQ(ExtractAll(bytes), kFailed);
    bytes = {1, 2, 3};
    EXPECT_EQ(ExtractAll(bytes), kFailed);
}

TEST(Rar2ArchiveTest, DataDamageFailsTheEntryOnly) {
    const std::vector<uint8_t> original = ReadBytes(DataPath("Rar2.rar"));
    Rar2Archive reference;
    ASSERT_EQ(reference.Open(original.data(), original.size()), kOk);
    int64_t jpg = reference.FindEntry("jpg\\test.jpg");
    const Rar2Entry& entry = reference.GetEntry(size_t(jpg));

    // A flipped bit anywhere in the packed data is caught (by a decoding
    // check or the CRC-32); a sample of positions keeps the test quick.
    for (size_t k = 0; k < entry.packedSize; k += 211) {
        std::vector<uint8_t> bytes = original;
        bytes[entry.dataOffset + k] ^= uint8_t(1u << (k % 8));
        Rar2Archive archive;
        ASSERT_EQ(archive.Open(bytes.data(), bytes.size()), kOk);
        EXPECT_EQ(ExtractNamed(archive, "jpg\\test.jpg").status, kFailed) << k;
        EXPECT_EQ(ExtractNamed(archive, "exe\\test.exe").status, kOk);
    }

    std::vector<uint8_t> bytes = original;  // data intact, stored CRC-32 wrong
    size_t header = FileHeaderOffset(original, size_t(jpg));
    bytes[header + 16] ^= 0x80;
    FixHeaderCrc(bytes, header);
    Rar2Archive archive;
    ASSERT_EQ(archive.Open(bytes.data(), bytes.size()), kOk);
    EXPECT_EQ(ExtractNamed(archive, "jpg\\test.jpg").status, kFailed);
}

TEST(Rar2ArchiveTest, LyingSizesAreRefusedBeforeAllocating) {
    const std::vector<uint8_t> original = ReadBytes(DataPath("Rar2.rar"));
    size_t file = FileHeaderOffset(original, 2);

    // 4 GiB - 1 unpacked from 17 KiB packed: beyond any possible ratio.
    std::vector<uint8_t> bytes = original;
    bytes[file + 11] = bytes[file + 12] = bytes[file + 13] = bytes[file + 14] = 0xFF;
    FixHeaderCrc(bytes, file);
    EXPECT_EQ(ExtractAll(bytes), kFailed);

    // Just past the ratio bound.
    bytes = original;
    uint32_t packed = bytes[file + 7] | bytes[file + 8] << 8 | bytes[file + 9] << 16;
    uint32_t lie = uint32_t(packed * Rar2Archive::kMaxRatio + Rar2Archive::kRatioSlack + 1);
    for (int i = 0; i < 4; ++i) bytes[file + 11 + i] = uint8_t(lie >> (8 * i));
    FixHeaderCrc(bytes, file);
    EXPECT_EQ(ExtractAll(bytes), kFailed);
}

TEST(Rar2ArchiveTest, EncryptedAndForeignVersionsAreListedButNotExtracted) {
    const std::vector<uint8_t> original = ReadBytes(DataPath("Rar2.rar"));
    size_t file = FileHeaderOffset(original, 2);

    std::vector<uint8_t> bytes = original;
    bytes[file + 3] |= Rar2Format::kFileEncrypted;
    FixHeaderCrc(bytes, file);
    Rar2Archive encrypted;
    ASSERT_EQ(encrypted.Open(bytes.data(), bytes.size()), kOk);
    EXPECT_FALSE(encrypted.IsExtractable(2));
    uint8_t* data = nullptr;
    size_t size = 0;
    EXPECT_EQ(encrypted.Extract(2, &data, &size), kFailed);
    EXPECT_EQ(data, nullptr);

    for (uint8_t version : {15, 29, 36}) {
        bytes = original;
        bytes[file + 24] = version;
        FixHeaderCrc(bytes, file);
        Rar2Archive other;
        ASSERT_EQ(other.Open(bytes.data(), bytes.size()), kOk);
        EXPECT_EQ(other.GetEntryCount(), 5u);
        EXPECT_EQ(other.Extract(2, &data, &size), kFailed) << int(version);
    }
}

}  // namespace
}  // namespace zel

namespace zel {
namespace {

// Builds archives block by block, for header variants the writer never makes.
class BlockBuilder {
public:
    BlockBuilder() { bytes_.assign(Rar2Format::kMarker, Rar2Format::kMarker + 7); }

    // A block: CRC, type, flags, size, then `body`; `crcLength` bytes after the
    // CRC field are covered (0: the whole header).
    BlockBuilder& Block(uint8_t type, uint16_t flags, const std::vector<uint8_t>& body, size_t crcLength = 0) {
        size_t size = 7 + body.size();
        std::vector<uint8_t> block = {0, 0, type, uint8_t(flags), uint8_t(flags >> 8), uint8_t(size), uint8_t(size >> 8)};
        block.insert(block.end(), body.begin(), body.end());
        uint32_t crc = Rar2Crc32::Compute(block.data() + 2, (crcLength ? crcLength : size) - 2);
        block[0] = uint8_t(crc);
        block[1] = uint8_t(crc >> 8);
        bytes_.insert(bytes_.end(), block.begin(), block.end());
        return *this;
    }
    BlockBuilder& Main(uint16_t flags = 0) { return Block(Rar2Format::kBlockMain, flags, std::vector<uint8_t>(6, 0)); }
    BlockBuilder& Raw(const std::vector<uint8_t>& bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

void Put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// A stored file header body (after the 7-byte block header).
std::vector<uint8_t> StoredFileBody(const std::string& name, uint32_t size, uint32_t crc, uint8_t host,
                                    uint32_t attributes, bool large, const std::vector<uint8_t>& tail) {
    std::vector<uint8_t> b;
    Put32(b, size);
    Put32(b, size);
    b.push_back(host);
    Put32(b, crc);
    Put32(b, 0x58B16000u);
    b.push_back(20);
    b.push_back(Rar2Format::kMethodStore);
    b.push_back(uint8_t(name.size()));
    b.push_back(uint8_t(name.size() >> 8));
    Put32(b, attributes);
    if (large) {
        Put32(b, 0);
        Put32(b, 0);
    }
    b.insert(b.end(), name.begin(), name.end());
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

TEST(Rar2ArchiveTest, ReadsOptionalHeaderFieldsAndSkipsOtherBlocks) {
    const std::vector<uint8_t> hello = {'h', 'e', 'l', 'l', 'o'};
    uint32_t crc = Rar2Crc32::Compute(hello.data(), hello.size());
    // Unicode name (8-bit name, zero, encoded name) plus large sizes and
    // extended times: modification time with 3 extra bytes, creation time
    // with a DOS time and 1 extra byte.
    std::string name = std::string("Sounds\\a.txt") + '\0' + "\x05\x12\x34";
    std::vector<uint8_t> times = {0x00, 0xB9, 1, 2, 3, 0, 0, 0, 0, 7};  // flags 0xB900
    uint16_t flags = 0x8000 | Rar2Format::kFileLarge | Rar2Format::kFileUnicodeName | Rar2Format::kFileExtendedTime;
    std::vector<uint8_t> file = StoredFileBody(name, 5, crc, Rar2Format::kHostWin32, 0x20, true, times);

    std::vector<uint8_t> subBlock = {3, 0, 0, 0};  // three bytes of data follow
    BlockBuilder builder;
    builder.Main(Rar2Format::kMainComment)
        .Block(0x77, 0x8000, subBlock)
        .Raw({9, 9, 9})
        .Block(Rar2Format::kBlockFile, flags, file)
        .Raw(hello)
        .Block(Rar2Format::kBlockEnd, 0, {})
        .Raw({0xDE, 0xAD});  // after the end block: ignored
    Rar2Archive archive;
    ASSERT_EQ(archive.Open(builder.Bytes().data(), builder.Bytes().size()), kOk) << archive.GetError();
    ASSERT_EQ(archive.GetEntryCount(), 1u);
    EXPECT_EQ(archive.GetEntry(0).name, "Sounds\\a.txt");
    Unpacked a = ExtractNamed(archive, "Sounds\\a.txt");
    ASSERT_EQ(a.status, kOk) << archive.GetError();
    EXPECT_EQ(a.bytes, hello);

    // Extended times claiming more bytes than the header has.
    std::vector<uint8_t> shortTimes = {0x00, 0xF0};
    std::vector<uint8_t> bad = StoredFileBody("x", 0, 0, Rar2Format::kHostWin32, 0x20, false, shortTimes);
    BlockBuilder broken;
    broken.Main().Block(Rar2Format::kBlockFile, 0x8000 | Rar2Format::kFileExtendedTime, bad);
    EXPECT_EQ(archive.Open(broken.Bytes().data(), broken.Bytes().size()), kFailed);
}

TEST(Rar2ArchiveTest, MainHeaderWithCommentMayCoverOnlyItsFixedPart) {
    std::vector<uint8_t> body(6, 0);
    std::vector<uint8_t> comment = {0x75, 0x00, 0x00, 0x0D, 0x00, 1, 2, 3, 4, 5, 6, 7, 8};
    body.insert(body.end(), comment.begin(), comment.end());
    BlockBuilder builder;
    builder.Block(Rar2Format::kBlockMain, Rar2Format::kMainComment, body, 13);
    Rar2Archive archive;
    EXPECT_EQ(archive.Open(builder.Bytes().data(), builder.Bytes().size()), kOk) << archive.GetError();

    BlockBuilder withoutFlag;  // the same CRC without the comment flag is wrong
    withoutFlag.Block(Rar2Format::kBlockMain, 0, body, 13);
    EXPECT_EQ(archive.Open(withoutFlag.Bytes().data(), withoutFlag.Bytes().size()), kFailed);
}

TEST(Rar2ArchiveTest, UnixModesAreNotTakenForDosAttributes) {
    // Mode 0100664 has bit 0x10 (group write) set: still a file.
    std::vector<uint8_t> file = StoredFileBody("f", 0, 0, Rar2Format::kHostUnix, 0100664, false, {});
    std::vector<uint8_t> dir = StoredFileBody("d", 0, 0, Rar2Format::kHostUnix, 040755, false, {});
    BlockBuilder builder;
    builder.Main().Block(Rar2Format::kBlockFile, 0x8000, dir).Block(Rar2Format::kBlockFile, 0x8000, file);
    Rar2Archive archive;
    ASSERT_EQ(archive.Open(builder.Bytes().data(), builder.Bytes().size()), kOk) << archive.GetError();
    ASSERT_EQ(archive.GetEntryCount(), 2u);
    EXPECT_TRUE(archive.GetEntry(0).isDirectory);
    EXPECT_EQ(archive.GetEntry(0).dosAttributes, 0x10u);
    EXPECT_FALSE(archive.GetEntry(1).isDirectory);
    EXPECT_EQ(archive.GetEntry(1).dosAttributes, 0x20u);
    EXPECT_EQ(archive.GetEntry(1).attributes, 0100664u);
}

TEST(Rar2ArchiveTest, FindsTheMarkerAfterAProgramStub) {
    std::vector<uint8_t> bytes(5000, 0x90);
    std::vector<uint8_t> real = ReadBytes(DataPath("solid5.rar"));
    bytes.insert(bytes.end(), real.begin(), real.end());
    Rar2Archive archive;
    ASSERT_EQ(archive.Open(bytes.data(), bytes.size()), kOk) << archive.GetError();
    EXPECT_EQ(ExtractNamed(archive, "p5_solid.bin").bytes, ReadBytes(DataPath("solid5-expected.bin")));
}

}  // namespace
}  // namespace zel
