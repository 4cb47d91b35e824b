#include "tools/scene/SceneSource.h"

#include <filesystem>
#include <system_error>

#include "engine/core/Status.h"
#include "engine/core/String.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/ModuleManager.h"
#include "tools/common/DiskPath.h"

namespace zel {

int MountFolderOf(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::absolute(fs::path(path), error).parent_path();
    fs::directory_iterator it(folder, error);
    Directory* root = GetRootDirectory();
    if (error || root == nullptr) return 1;
    // A directory named by its disk path: its files open as disk files.
    Directory* mounted = new Directory(String(folder.string().c_str()), root);
    if (mounted->GetParent() != root) {
        delete mounted;
        return 1;
    }
    for (const fs::directory_entry& entry : it) {
        if (!entry.is_regular_file(error)) continue;
        File* file = new File(String(entry.path().filename().string().c_str()));
        if (mounted->AttachFile(file) != kOk) delete file;
    }
    return 0;
}

int MountArchiveAt(const std::string& path) {
    DiskPath disk(path);
    return MountArchive(disk.GetFile(), String()) == kOk ? 0 : 1;
}

void LoadSceneCodecs() {
    for (const char* name : {"BMPImageCodec", "JPGImageCodec", "TGAImageCodec", "CUBEImageCodec", "STRSceneCodec",
                             "RAR2FileCodec"}) {
        LoadModule(String(name), nullptr);
        LoadCodec(String(name), nullptr);
    }
}

}  // namespace zel
