// Writer of RAR 2.0 archives in memory: marker, main header, then one file
// header per entry (with its packed data), as the 2.x archivers lay them out.
// Callers add directory entries before the entries inside them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/Status.h"
#include "engine/resources/rar/Rar2ByteBuffer.h"
#include "engine/resources/rar/Rar2Format.h"
#include "tools/rar2/writer/Rar2Encoder.h"

namespace zel {

class Rar2Writer {
public:
    struct FileOptions {
        // kMethodStore, or 0x31..0x35 (compressed; more search for higher
        // values). Empty files are always stored; in a non-solid archive so
        // is a file that would not shrink.
        uint8_t method = Rar2Format::kMethodNormal;
        uint32_t audioChannels = 0;  // 1..4: multimedia mode
    };

    static constexpr size_t kMaxNameLength = 1000;
    static constexpr uint8_t kHostOs = Rar2Format::kHostWin32;
    static constexpr uint16_t kDictionaryFlags = 0x80;  // 1 MiB, the window the compressor uses

    // A solid archive continues one compression state through all its
    // compressed files.
    explicit Rar2Writer(bool solid = false);

    // kOk; kInvalidArgument (empty, over-long or null name); kOutOfMemory.
    [[nodiscard]] int32_t AddDirectory(const char* name, uint32_t dosTime);
    // kOk; kInvalidArgument (bad name, null data with a size, size over
    // 1 GiB, bad options); kOutOfMemory.
    [[nodiscard]] int32_t AddFile(const char* name, const uint8_t* data, size_t size, uint32_t dosTime,
                    uint32_t attributes, const FileOptions& options);

    // kOutOfMemory if an allocation failed on the way (the archive is then
    // incomplete), else kOk.
    int32_t GetStatus() const { return out_.Failed() ? kOutOfMemory : kOk; }
    const uint8_t* GetData() const { return out_.Data(); }
    size_t GetSize() const { return out_.Size(); }

    // DOS date and time (local time as the archiver keeps it) from parts;
    // years before 1980 become 1980.
    static uint32_t DosTime(int year, int month, int day, int hour, int minute, int second);

private:
    static bool ValidName(const char* name);
    void AppendFileHeader(const char* name, uint16_t flags, uint64_t packedSize, uint64_t unpackedSize,
                          uint32_t crc, uint32_t dosTime, uint8_t method, uint32_t attributes);

    Rar2ByteBuffer out_;
    Rar2Encoder encoder_;
    bool solid_;
    bool groupStarted_ = false;  // a compressed file opened the solid group
};

}  // namespace zel
