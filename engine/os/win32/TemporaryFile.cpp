// Win32 side of the temporary-file seam.
#include "engine/os/Os.h"
#include "engine/os/win32/Windows.h"

namespace zel::os {

bool WriteTemporaryFile(const char* prefix, const void* bytes, uint32_t size, char* path) {
    char folder[kMaxPath];
    const DWORD length = GetTempPathA(kMaxPath, folder);
    if (length == 0 || length >= kMaxPath) return false;
    return WriteUniqueFile(folder, prefix, bytes, size, path);
}

bool WriteUniqueFile(const char* folder, const char* prefix, const void* bytes, uint32_t size, char* path) {
    if (folder == nullptr || prefix == nullptr || path == nullptr || (bytes == nullptr && size != 0)) return false;
    if (GetTempFileNameA(folder, prefix, 0, path) == 0) return false;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(path);
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes, size, &written, nullptr) != 0 && written == size;
    if (CloseHandle(file) == 0 || !ok) {
        DeleteFileA(path);
        return false;
    }
    return true;
}

bool DeleteTemporaryFile(const char* path) { return path != nullptr && DeleteFileA(path) != 0; }

}  // namespace zel::os
