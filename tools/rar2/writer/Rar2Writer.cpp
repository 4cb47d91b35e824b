#include "tools/rar2/writer/Rar2Writer.h"

#include <cstring>

#include "engine/core/Status.h"
#include "engine/resources/rar/Rar2Crc32.h"

namespace zel {

namespace {

// Sets the CRC-16 of the header that starts at `at` and ends at the buffer's end.
void SealHeader(Rar2ByteBuffer& out, size_t at) {
    if (out.Failed()) return;
    uint32_t crc = Rar2Crc32::Compute(out.Data() + at + 2, out.Size() - at - 2);
    out.PutU16(at, crc & 0xFFFF);
}

}  // namespace

Rar2Writer::Rar2Writer(bool solid) : solid_(solid) {
    out_.Append(Rar2Format::kMarker, sizeof Rar2Format::kMarker);
    size_t at = out_.Size();
    out_.AppendU16(0);
    out_.AppendByte(Rar2Format::kBlockMain);
    out_.AppendU16(solid ? Rar2Format::kMainSolid : 0);
    out_.AppendU16(Rar2Format::kMainHeaderSize);
    out_.AppendU16(0);  // reserved
    out_.AppendU32(0);  // reserved
    SealHeader(out_, at);
}

bool Rar2Writer::ValidName(const char* name) {
    if (name == nullptr) return false;
    size_t length = std::strlen(name);
    return length > 0 && length <= kMaxNameLength;
}

uint32_t Rar2Writer::DosTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1980) return (1u << 5 | 1u) << 16;  // 1980-01-01 00:00:00
    if (year > 2107) year = 2107;
    uint32_t date = uint32_t(year - 1980) << 9 | uint32_t(month) << 5 | uint32_t(day);
    uint32_t time = uint32_t(hour) << 11 | uint32_t(minute) << 5 | uint32_t(second / 2);
    return date << 16 | time;
}

void Rar2Writer::AppendFileHeader(const char* name, uint16_t flags, uint64_t packedSize, uint64_t unpackedSize,
                                  uint32_t crc, uint32_t dosTime, uint8_t method, uint32_t attributes) {
    size_t nameLength = std::strlen(name);
    size_t at = out_.Size();
    out_.AppendU16(0);
    out_.AppendByte(Rar2Format::kBlockFile);
    out_.AppendU16(flags | Rar2Format::kFlagHasAddSize);
    out_.AppendU16(uint32_t(Rar2Format::kFileHeaderSize + nameLength));
    out_.AppendU32(uint32_t(packedSize));
    out_.AppendU32(uint32_t(unpackedSize));
    out_.AppendByte(kHostOs);
    out_.AppendU32(crc);
    out_.AppendU32(dosTime);
    out_.AppendByte(Rar2Format::kUnpackVersion);
    out_.AppendByte(method);
    out_.AppendU16(uint32_t(nameLength));
    out_.AppendU32(attributes);
    out_.Append(reinterpret_cast<const uint8_t*>(name), nameLength);
    SealHeader(out_, at);
}

int32_t Rar2Writer::AddDirectory(const char* name, uint32_t dosTime) {
    if (!ValidName(name)) return kInvalidArgument;
    AppendFileHeader(name, Rar2Format::kFileDirectory, 0, 0, 0, dosTime, Rar2Format::kMethodStore,
                     Rar2Format::kDosAttributeDirectory);
    return out_.Failed() ? kOutOfMemory : kOk;
}

int32_t Rar2Writer::AddFile(const char* name, const uint8_t* data, size_t size, uint32_t dosTime,
                            uint32_t attributes, const FileOptions& options) {
    if (!ValidName(name) || (data == nullptr && size > 0) || size > (size_t(1) << 30) ||
        options.audioChannels > Rar2Format::kMaxChannels || options.method < Rar2Format::kMethodStore ||
        options.method > Rar2Format::kMethodBest)
        return kInvalidArgument;
    uint32_t crc = Rar2Crc32::Compute(data, size);
    uint16_t flags = kDictionaryFlags;

    if (options.method != Rar2Format::kMethodStore && size > 0) {
        Rar2ByteBuffer packed;
        bool continued = solid_ && groupStarted_;
        Rar2Encoder::Options encoding{options.method, options.audioChannels};
        int32_t status = encoder_.Encode(data, size, continued, encoding, packed);
        if (status != kOk) return status;
        // A solid group cannot skip a file: the decoder's window must see it.
        if (solid_ || packed.Size() < size) {
            if (continued) flags |= Rar2Format::kFileSolid;
            groupStarted_ = true;
            AppendFileHeader(name, flags, packed.Size(), size, crc, dosTime, options.method, attributes);
            out_.Append(packed.Data(), packed.Size());
            return out_.Failed() ? kOutOfMemory : kOk;
        }
    }
    AppendFileHeader(name, flags, size, size, crc, dosTime, Rar2Format::kMethodStore, attributes);
    out_.Append(data, size);
    return out_.Failed() ? kOutOfMemory : kOk;
}

}  // namespace zel
