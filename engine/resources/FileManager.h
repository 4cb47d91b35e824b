// The virtual file system's root and the functions that mount archives into
// it. Every mounted archive is a direct sub-directory of the root; content
// is found by name below them, never by disk path.
#pragma once

#include <cstdint>

#include "engine/core/String.h"

namespace zel {

class Directory;
class File;

// The root directory (empty name), or null outside the file manager's
// initialisation and termination. Owned by the file manager.
Directory* GetRootDirectory();

// Hands the archive to the codec registered for its extension, which must
// be a file codec, and attaches the directory it builds to the root. The
// archive file stays the caller's. kOk; kInvalidArgument for a null file or
// no codec; the codec's status when it fails (1 for a codec of another
// kind); kFailed when the directory cannot be attached. Failures are logged.
int32_t MountArchive(File* archive, const String& password);

// Mounts resource `id` (type "MEDIADATA") as an archive named `name`, read
// straight from the resource bytes. kOk; the status of LoadResourceData or
// MountArchive; kOutOfMemory.
int32_t MountResourceArchive(int32_t id, const String& name, const String& password);

// The first file that FindFile of each mounted directory finds, in the
// root's order; the root's own files are not searched. Paths are relative
// to an archive's top. Null when not found. The root owns the file.
File* FindMountedFile(const String& path);

// Finds resource `id` of type "MEDIADATA" in the program. The bytes stay
// owned by the system. kOk; kInvalidArgument for a null output; kFailed
// when the resource is missing or cannot be loaded (logged).
int32_t LoadResourceData(int32_t id, const uint8_t** data, uint32_t* size);

class FileManager {
public:
    // Creates the root if absent. 0; 1 out of memory.
    [[nodiscard]] static int32_t Initialize();
    // Deletes the root and every mounted tree. 0.
    static int32_t Terminate();
};

}  // namespace zel
