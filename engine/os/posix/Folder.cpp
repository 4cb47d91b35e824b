// Native side of the folder seam: the XDG data folder stands for the local
// application-data one.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "engine/os/Os.h"

namespace zel::os {

bool GetLocalAppDataFolder(char* path) {
    if (path == nullptr) return false;
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    int length = -1;
    // The XDG rules ignore a relative data folder.
    if (data != nullptr && data[0] == '/') length = std::snprintf(path, kMaxPath, "%s/", data);
    else if (home != nullptr && home[0] == '/') length = std::snprintf(path, kMaxPath, "%s/.local/share/", home);
    return length > 0 && static_cast<uint32_t>(length) < kMaxPath;
}

bool CreateFolder(const char* path) {
    if (path == nullptr) return false;
    mkdir(path, 0700);
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace zel::os
