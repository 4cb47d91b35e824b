// The archive codec: turns a RAR 2.0 archive into a directory tree of memory
// files, unpacking every entry at once so later reads come from memory.
#pragma once

#include "engine/resources/Codec.h"

namespace zel {

class RAR2FileCodec : public FileCodec {
public:
    // Named "RAR2FileCodec", taking the extensions "rar2", "RAR2", "Rar2".
    RAR2FileCodec();

    // Builds a directory named after the archive file holding one
    // directory per directory entry and one memory file per file entry,
    // placed by the backslash-separated entry names. Directories missing
    // from the listing are created; entries whose names hold empty, "." or
    // ".." components are skipped. An entry that cannot be unpacked (damaged,
    // encrypted, an unsupported method) becomes a file without data, which
    // cannot be opened. 0 ok; 1 the file cannot be opened or closed, or is
    // not a readable archive; 2 out of memory; 3 null arguments.
    // Encrypted entries are never unpacked, so the password is not used.
    [[nodiscard]] int32_t Load(File* archive, Directory** directory, const String& password) override;
    // Cannot write archives: leaves an empty file. 0 ok; 1 failed.
    [[nodiscard]] int32_t Save(File* archive, Directory* directory) override;

    // Name of the internal module whose "CreateCodec" makes this codec.
    static constexpr const char* kModuleName = "RAR2FileCodec";
};

}  // namespace zel
