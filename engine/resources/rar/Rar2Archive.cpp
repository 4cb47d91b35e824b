#include "engine/resources/rar/Rar2Archive.h"

#include <cstring>
#include <new>

#include "engine/core/Status.h"
#include "engine/resources/rar/Rar2Crc32.h"
#include "engine/resources/rar/Rar2Decoder.h"
#include "engine/resources/rar/Rar2Format.h"

namespace zel {

namespace {

uint32_t U16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t U32(const uint8_t* p) { return U16(p) | U16(p + 2) << 16; }

// The CRC-16 of a header is the low half of the CRC-32 of the bytes after it.
// Headers that embed a comment may cover only their fixed part (up to
// `fixedEnd`), so that length is tried too when it differs.
bool HeaderCrcMatches(const uint8_t* block, uint32_t headSize, uint32_t fixedEnd) {
    uint32_t stored = U16(block);
    if ((Rar2Crc32::Compute(block + 2, headSize - 2) & 0xFFFF) == stored) return true;
    return fixedEnd < headSize && (Rar2Crc32::Compute(block + 2, fixedEnd - 2) & 0xFFFF) == stored;
}

// Size of the extended time field: a flag word, then per time (modification,
// creation, access, archiving) four flag bits: 8 present, 0..3 extra bytes;
// every time but the modification time also carries a 4-byte DOS time.
bool ExtendedTimeSize(const uint8_t* p, size_t available, size_t& size) {
    if (available < 2) return false;
    uint32_t flags = U16(p);
    size = 2;
    for (int i = 0; i < 4; ++i) {
        uint32_t mode = (flags >> ((3 - i) * 4)) & 0xF;
        if ((mode & 8) == 0) continue;
        if (i != 0) size += 4;
        size += mode & 3;
    }
    return size <= available;
}

}  // namespace

Rar2Archive::Rar2Archive() = default;
Rar2Archive::~Rar2Archive() = default;

int32_t Rar2Archive::Fail(const char* reason) {
    error_ = reason;
    return kFailed;
}

int32_t Rar2Archive::Open(const uint8_t* data, size_t size) {
    entries_.clear();
    solid_ = false;
    decodedGroup_ = decodedThrough_ = -1;
    data_ = data;
    size_ = size;
    if (data == nullptr) return kInvalidArgument;

    const size_t markerSize = sizeof Rar2Format::kMarker;
    size_t limit = size < kMarkerSearchLimit ? size : kMarkerSearchLimit;
    for (size_t at = 0; at + markerSize <= limit; ++at) {
        if (std::memcmp(data + at, Rar2Format::kMarker, markerSize) == 0) {
            int32_t status = ReadBlocks(at + markerSize);
            if (status != kOk) entries_.clear();
            return status;
        }
    }
    return Fail("no archive marker");
}

int32_t Rar2Archive::ReadBlocks(size_t position) {
    bool sawMain = false;
    // Every block moves the position forward by at least its 7-byte header,
    // so the walk ends within size_ / 7 steps.
    while (position < size_) {
        if (size_ - position < Rar2Format::kBlockHeaderSize) return Fail("truncated block header");
        const uint8_t* block = data_ + position;
        uint8_t type = block[2];
        uint16_t flags = uint16_t(U16(block + 3));
        uint32_t headSize = U16(block + 5);
        if (headSize < Rar2Format::kBlockHeaderSize) return Fail("block header too small");
        if (headSize > size_ - position) return Fail("block header runs past the end");

        uint64_t dataSize = 0;
        if (type == Rar2Format::kBlockMain) {
            if (headSize < Rar2Format::kMainHeaderSize) return Fail("main header too small");
            uint32_t fixedEnd = (flags & Rar2Format::kMainComment) ? Rar2Format::kMainHeaderSize : headSize;
            if (!HeaderCrcMatches(block, headSize, fixedEnd)) return Fail("main header CRC mismatch");
            if (flags & Rar2Format::kMainEncryptedHeaders) return Fail("encrypted headers");
            solid_ = (flags & Rar2Format::kMainSolid) != 0;
            sawMain = true;
        } else if (!sawMain) {
            return Fail("missing main header");
        } else if (type == Rar2Format::kBlockFile) {
            int32_t status = ReadFileHeader(block, headSize, flags, position, dataSize);
            if (status != kOk) return status;
        } else if (type == Rar2Format::kBlockEnd) {
            return kOk;
        } else if (flags & Rar2Format::kFlagHasAddSize) {
            // Comments, recovery records and other sub-blocks: skipped with their data.
            if (headSize < Rar2Format::kBlockHeaderSize + 4) return Fail("block header too small");
            dataSize = U32(block + 7);
        }
        if (dataSize > size_ - position - headSize) return Fail("block data runs past the end");
        position += headSize + size_t(dataSize);
    }
    return sawMain ? kOk : Fail("missing main header");
}

int32_t Rar2Archive::ReadFileHeader(const uint8_t* block, uint32_t headSize, uint16_t flags,
                                    size_t position, uint64_t& dataSize) {
    if (headSize < Rar2Format::kFileHeaderSize) return Fail("file header too small");
    Rar2Entry entry;
    entry.flags = flags;
    entry.packedSize = U32(block + 7);
    entry.unpackedSize = U32(block + 11);
    entry.hostOs = block[15];
    entry.crc32 = U32(block + 16);
    entry.dosTime = U32(block + 20);
    entry.unpackVersion = block[24];
    entry.method = block[25];
    uint32_t nameSize = U16(block + 26);
    entry.attributes = U32(block + 28);

    size_t at = Rar2Format::kFileHeaderSize;
    if (flags & Rar2Format::kFileLarge) {
        if (headSize - at < 8) return Fail("file header too small for its sizes");
        entry.packedSize |= uint64_t(U32(block + at)) << 32;
        entry.unpackedSize |= uint64_t(U32(block + at + 4)) << 32;
        at += 8;
    }
    if (nameSize == 0 || nameSize > headSize - at) return Fail("bad file name size");
    const char* name = reinterpret_cast<const char*>(block + at);
    // A Unicode name follows the 8-bit one after a zero byte.
    const void* zero = std::memchr(name, 0, nameSize);
    size_t nameLength = zero ? size_t(static_cast<const char*>(zero) - name) : nameSize;
    entry.name.assign(name, nameLength);
    at += nameSize;
    if (flags & Rar2Format::kFileSalt) {
        if (headSize - at < 8) return Fail("file header too small for its salt");
        at += 8;
    }
    if (flags & Rar2Format::kFileExtendedTime) {
        size_t timeSize = 0;
        if (!ExtendedTimeSize(block + at, headSize - at, timeSize))
            return Fail("file header too small for its times");
        at += timeSize;
    }
    uint32_t fixedEnd = (flags & Rar2Format::kFileComment) ? uint32_t(at) : headSize;
    if (!HeaderCrcMatches(block, headSize, fixedEnd)) return Fail("file header CRC mismatch");

    bool unixHost = entry.hostOs == Rar2Format::kHostUnix || entry.hostOs == Rar2Format::kHostBeOs;
    bool directoryBits = (flags & Rar2Format::kFileDictionaryMask) == Rar2Format::kFileDirectory;
    if (unixHost) {
        entry.isDirectory = directoryBits || (entry.attributes & 0xF000) == 0x4000;
        entry.dosAttributes =
            entry.isDirectory ? Rar2Format::kDosAttributeDirectory : Rar2Format::kDosAttributeArchive;
    } else {
        entry.isDirectory = directoryBits || (entry.attributes & Rar2Format::kDosAttributeDirectory);
        entry.dosAttributes = entry.attributes;
        if (entry.isDirectory) entry.dosAttributes |= Rar2Format::kDosAttributeDirectory;
    }
    entry.dictionarySize = Rar2Format::DictionarySize(flags);
    entry.dataOffset = position + headSize;
    dataSize = entry.packedSize;
    entries_.push_back(std::move(entry));
    return kOk;
}

int64_t Rar2Archive::FindEntry(const char* name) const {
    if (name == nullptr) return -1;
    size_t length = std::strlen(name);
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].name.size() == length && std::memcmp(entries_[i].name.data(), name, length) == 0)
            return int64_t(i);
    return -1;
}

bool Rar2Archive::IsExtractable(size_t index) const {
    if (index >= entries_.size()) return false;
    const Rar2Entry& e = entries_[index];
    if (e.isDirectory) return false;
    if (e.flags & (Rar2Format::kFileEncrypted | Rar2Format::kFileSplitBefore | Rar2Format::kFileSplitAfter))
        return false;
    // Stored bytes need no algorithm, whichever version wrote them.
    if (e.method == Rar2Format::kMethodStore) return true;
    return e.method > Rar2Format::kMethodStore && e.method <= Rar2Format::kMethodBest &&
           (e.unpackVersion == Rar2Format::kUnpackVersion ||
            e.unpackVersion == Rar2Format::kUnpackVersionLarge);
}

bool Rar2Archive::IsCompressed(size_t index) const {
    const Rar2Entry& e = entries_[index];
    return !e.isDirectory && e.method != Rar2Format::kMethodStore;
}

int32_t Rar2Archive::CheckSizes(const Rar2Entry& entry) {
    if (entry.unpackedSize > kMaxUnpackedSize) return Fail("unpacked size too large");
    if (entry.method == Rar2Format::kMethodStore) {
        if (entry.unpackedSize != entry.packedSize) return Fail("stored entry with differing sizes");
    } else if (entry.unpackedSize > entry.packedSize * kMaxRatio + kRatioSlack) {
        return Fail("unpacked size beyond what the packed size can hold");
    }
    return kOk;
}

// The compressed entry that starts the solid group holding `index`: walking
// back over compressed entries while each carries the solid flag. Stored
// entries and directories do not take part in the group.
size_t Rar2Archive::FindGroupStart(size_t index) const {
    size_t start = index;
    while (entries_[start].flags & Rar2Format::kFileSolid) {
        size_t previous = start;
        while (previous > 0 && !IsCompressed(previous - 1)) --previous;
        if (previous == 0) break;
        start = previous - 1;
    }
    return start;
}

int32_t Rar2Archive::Extract(const char* name, uint8_t** data, size_t* size) {
    if (data != nullptr) *data = nullptr;
    if (size != nullptr) *size = 0;
    int64_t index = FindEntry(name);
    if (index < 0) {
        error_ = "no such entry";
        return kInvalidArgument;
    }
    return Extract(size_t(index), data, size);
}

int32_t Rar2Archive::Extract(size_t index, uint8_t** data, size_t* size) {
    if (data == nullptr || size == nullptr) return kInvalidArgument;
    *data = nullptr;
    *size = 0;
    if (index >= entries_.size() || entries_[index].isDirectory) {
        error_ = "no such file entry";
        return kInvalidArgument;
    }
    if (!IsExtractable(index)) return Fail("unsupported entry (encrypted, split or unknown method)");
    const Rar2Entry& entry = entries_[index];
    if (CheckSizes(entry) != kOk) return kFailed;

    size_t outSize = size_t(entry.unpackedSize);
    uint8_t* out = new (std::nothrow) uint8_t[outSize == 0 ? 1 : outSize];
    if (out == nullptr) {
        error_ = "out of memory";
        return kOutOfMemory;
    }
    int32_t status = kOk;
    if (entry.method == Rar2Format::kMethodStore) {
        if (outSize > 0) std::memcpy(out, data_ + entry.dataOffset, outSize);
        if (Rar2Crc32::Compute(out, outSize) != entry.crc32) status = Fail("CRC-32 mismatch");
    } else {
        status = Unpack(index, out);  // checks the CRC-32 of every entry it decodes
    }
    if (status != kOk) {
        delete[] out;
        return status;
    }
    *data = out;
    *size = outSize;
    return kOk;
}

int32_t Rar2Archive::Unpack(size_t index, uint8_t* out) {
    if (!decoder_) {
        decoder_.reset(new (std::nothrow) Rar2Decoder);
        if (!decoder_ || decoder_->Init() != kOk) {
            decoder_.reset();
            error_ = "out of memory";
            return kOutOfMemory;
        }
    }
    size_t start = FindGroupStart(index);
    size_t from = start;
    if (decodedGroup_ == int64_t(start) && decodedThrough_ >= int64_t(start) &&
        decodedThrough_ < int64_t(index))
        from = size_t(decodedThrough_) + 1;
    decodedGroup_ = decodedThrough_ = -1;

    for (size_t i = from; i <= index; ++i) {
        if (!IsCompressed(i)) continue;
        if (!IsExtractable(i)) return Fail("an earlier entry of the solid group cannot be unpacked");
        const Rar2Entry& e = entries_[i];
        if (CheckSizes(e) != kOk) return kFailed;
        bool solid = i != start;
        uint8_t* target = i == index ? out : nullptr;
        if (decoder_->Decode(data_ + e.dataOffset, size_t(e.packedSize), target, size_t(e.unpackedSize),
                             solid) != kOk)
            return Fail(decoder_->GetError());
        // An earlier entry of the group decoded wrongly would spoil this one.
        if (decoder_->GetCrc() != e.crc32)
            return Fail(i == index ? "CRC-32 mismatch" : "CRC-32 mismatch in an earlier entry of the solid group");
        decodedGroup_ = int64_t(start);
        decodedThrough_ = int64_t(i);
    }
    return kOk;
}

}  // namespace zel
