// Reader of RAR 2.0 archives held in memory: lists the entries in archive
// order and unpacks single entries into fresh blocks, CRC-32 checked.
//
// Bounds on hostile input: headers must lie wholly inside the data, each
// block advances the read position (so a header chain ends), header CRCs must
// match, and an entry is unpacked only when its unpacked size is at most
// kMaxUnpackedSize and at most kMaxRatio times its packed size plus
// kRatioSlack (stored entries: exactly its packed size). kMaxRatio is the most
// the compression can reach: one bit can repeat the last match, at most 260
// bytes, so a packed byte yields at most 2080 bytes. Nothing bigger than the
// checked size is ever allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/resources/rar/Rar2Entry.h"

namespace zel {

class Rar2Decoder;

class Rar2Archive {
public:
    static constexpr uint64_t kMaxUnpackedSize = uint64_t(1) << 30;
    static constexpr uint64_t kMaxRatio = 2080;
    static constexpr uint64_t kRatioSlack = 64;
    // Self-extracting archives put a program before the marker.
    static constexpr size_t kMarkerSearchLimit = size_t(1) << 20;

    Rar2Archive();
    ~Rar2Archive();
    Rar2Archive(const Rar2Archive&) = delete;
    Rar2Archive& operator=(const Rar2Archive&) = delete;

    // Reads every header of data[size]. The bytes are not copied and must stay
    // valid while entries are extracted. kOk; kInvalidArgument for null data;
    // kFailed for a damaged or unsupported archive (reason in GetError()).
    int32_t Open(const uint8_t* data, size_t size);

    size_t GetEntryCount() const { return entries_.size(); }
    const Rar2Entry& GetEntry(size_t index) const { return entries_[index]; }
    bool IsSolid() const { return solid_; }

    // Index of the first entry whose name equals `name` byte for byte, or -1.
    int64_t FindEntry(const char* name) const;

    // Whether the entry's data can be unpacked: not a directory, not
    // encrypted, not split across volumes, stored or compressed with unpack
    // version 20 (or 26, the same algorithm for large files).
    bool IsExtractable(size_t index) const;

    // Unpacks an entry into a new block the caller frees with delete[].
    // kOk; kInvalidArgument (no such entry, a directory, null outputs);
    // kOutOfMemory; kFailed (unsupported, damaged, CRC-32 mismatch). On
    // failure *data is null and *size 0. Entries of a solid group are decoded
    // from the group's start, or from the last entry extracted when that lies
    // before this one in the same group.
    int32_t Extract(size_t index, uint8_t** data, size_t* size);
    int32_t Extract(const char* name, uint8_t** data, size_t* size);

    const char* GetError() const { return error_; }

private:
    int32_t Fail(const char* reason);
    int32_t ReadBlocks(size_t position);
    int32_t ReadFileHeader(const uint8_t* block, uint32_t headSize, uint16_t flags, size_t position,
                           uint64_t& dataSize);
    bool IsCompressed(size_t index) const;
    int32_t CheckSizes(const Rar2Entry& entry);
    size_t FindGroupStart(size_t index) const;
    int32_t Unpack(size_t index, uint8_t* out);

    const uint8_t* data_ = nullptr;  // not owned
    size_t size_ = 0;
    bool solid_ = false;
    std::vector<Rar2Entry> entries_;
    const char* error_ = "";

    std::unique_ptr<Rar2Decoder> decoder_;
    int64_t decodedGroup_ = -1;    // group start whose state the decoder holds
    int64_t decodedThrough_ = -1;  // last entry of that group it has decoded
};

}  // namespace zel
