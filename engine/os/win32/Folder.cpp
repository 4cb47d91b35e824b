// Win32 side of the folder seam.
#include <cstring>

#include "engine/os/Os.h"
#include "engine/os/win32/Windows.h"

#include <shlobj.h>

namespace zel::os {

bool GetLocalAppDataFolder(char* path) {
    if (path == nullptr) return false;
    char folder[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) return false;
    const size_t length = std::strlen(folder);
    // Room for the separator and the terminating zero.
    if (length == 0 || length + 2 > kMaxPath) return false;
    std::memcpy(path, folder, length);
    path[length] = '\\';
    path[length + 1] = '\0';
    return true;
}

bool CreateFolder(const char* path) {
    if (path == nullptr) return false;
    CreateDirectoryA(path, nullptr);
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace zel::os
