// A disk file of the virtual file system: the directory part becomes a
// parentless directory, so the file's full path is the path given and its
// name (which picks the codec) is the last component.
#pragma once

#include <string>

#include "engine/resources/Directory.h"
#include "engine/resources/File.h"

namespace zel {

class DiskPath {
public:
    explicit DiskPath(const std::string& path) {
        size_t slash = path.find_last_of("/\\");
        if (slash == std::string::npos) {
            file_ = new File(String(path.c_str()));
            return;
        }
        folder_ = new Directory(String(path.substr(0, slash).c_str()), nullptr);
        file_ = new File(String(path.substr(slash + 1).c_str()));
        folder_->AttachFile(file_);
    }
    ~DiskPath() {
        if (folder_ != nullptr)
            delete folder_;  // deletes the file with it
        else
            delete file_;
    }
    DiskPath(const DiskPath&) = delete;
    DiskPath& operator=(const DiskPath&) = delete;

    File* GetFile() const { return file_; }

private:
    Directory* folder_ = nullptr;  // owned
    File* file_ = nullptr;         // owned, directly or through the folder
};

}  // namespace zel
