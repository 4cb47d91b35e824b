// Native side of the temporary-file seam: mkstemp in $TMPDIR or /tmp.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "engine/os/Os.h"

namespace zel::os {

bool WriteTemporaryFile(const char* prefix, const void* bytes, uint32_t size, char* path) {
    const char* folder = std::getenv("TMPDIR");
    if (folder == nullptr || folder[0] == '\0') folder = "/tmp";
    return WriteUniqueFile(folder, prefix, bytes, size, path);
}

bool WriteUniqueFile(const char* folder, const char* prefix, const void* bytes, uint32_t size, char* path) {
    if (folder == nullptr || prefix == nullptr || path == nullptr || (bytes == nullptr && size != 0)) return false;
    const int length = std::snprintf(path, kMaxPath, "%s/%sXXXXXX", folder, prefix);
    if (length < 0 || static_cast<uint32_t>(length) >= kMaxPath) return false;
    const int file = mkstemp(path);
    if (file < 0) return false;
    const auto* at = static_cast<const char*>(bytes);
    uint32_t left = size;
    while (left > 0) {
        const ssize_t written = write(file, at, left);
        if (written <= 0) break;
        at += written;
        left -= static_cast<uint32_t>(written);
    }
    if (close(file) != 0 || left != 0) {
        unlink(path);
        return false;
    }
    return true;
}

bool DeleteTemporaryFile(const char* path) { return path != nullptr && unlink(path) == 0; }

}  // namespace zel::os
