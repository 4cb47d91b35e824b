// A library stream over a sound file of the virtual file system. The
// library reads the file's bytes for as long as the stream lives, so they
// are copied out of the file (which may be closed and reopened meanwhile)
// and freed with the stream.
#pragma once

#include <cstdint>

namespace zel {

class File;

struct SoundFileStream {
    uint8_t* data = nullptr;  // owned copy of the file's bytes
    uint32_t stream = 0;      // library handle; 0 when none

    SoundFileStream() = default;
    SoundFileStream(const SoundFileStream&) = delete;
    SoundFileStream& operator=(const SoundFileStream&) = delete;
    ~SoundFileStream() { Free(); }

    // Frees what is held, then opens `file`, copies its bytes and creates a
    // stream from them (3D when is3D); the file is closed again. kOk, with
    // stream 0 when the library refused the bytes; kInvalidArgument for a
    // null, unopenable or empty file; kOutOfMemory.
    [[nodiscard]] int32_t Load(File* file, bool is3D);
    // Frees the stream, then the bytes.
    void Free();
};

}  // namespace zel
