// Sound files for tests: a directory of memory files mounted under the
// file system's root while an instance lives, so FindMountedFile finds them.
#pragma once

#include <cstring>
#include <string>

#include "engine/resources/Directory.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/MemoryFile.h"

namespace zel::test {

class MountedSoundFiles {
public:
    MountedSoundFiles() : directory_(new Directory(String("SoundTest.mnt"), GetRootDirectory())) {}
    ~MountedSoundFiles() { delete directory_; }

    MountedSoundFiles(const MountedSoundFiles&) = delete;
    MountedSoundFiles& operator=(const MountedSoundFiles&) = delete;

    // A file holding `content`'s bytes; empty content makes a file without
    // data.
    MemoryFile* Add(const char* name, const std::string& content) {
        MemoryFile* file = new MemoryFile(String(name));
        if (!content.empty()) {
            uint8_t* bytes = new uint8_t[content.size()];
            std::memcpy(bytes, content.data(), content.size());
            file->SetSourceData(bytes, static_cast<uint32_t>(content.size()));
        }
        directory_->AttachFile(file);
        return file;
    }

private:
    Directory* directory_;  // owned; detached from the root when deleted
};

}  // namespace zel::test
