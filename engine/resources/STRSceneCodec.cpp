#include "engine/resources/STRSceneCodec.h"

#include <new>

#include "engine/core/Object.h"
#include "engine/core/SceneFile.h"
#include "engine/core/Status.h"
#include "engine/resources/File.h"

namespace zel {

STRSceneCodec::STRSceneCodec() : SceneCodec(String(kModuleName)) {
    AddExtensions({"STR", "str", "Str"});
}

int32_t STRSceneCodec::Load(File* file, Pointer<Object>* root) {
    if (file == nullptr || root == nullptr) return kInvalidArgument;
    if (file->Open(File::kModeRead) != kOk) return kFailed;
    Pointer<Object> read;
    if (ReadSceneFile(*file, read) != kOk) {
        file->Close();
        return kFailed;
    }
    if (file->Close() != kOk) return kFailed;
    *root = read;
    return kOk;
}

int32_t STRSceneCodec::Save(File* file, Object* root) {
    if (file == nullptr || root == nullptr) return kFailed;
    if (file->Open(File::kModeWrite) != kOk) return kFailed;
    // A failed write is reported, not hidden behind a successful close.
    bool written = WriteSceneFile(*file, root) == 0;
    if (file->Close() != kOk) return kFailed;
    return written ? kOk : kFailed;
}

}  // namespace zel
