#include "engine/resources/STRSceneCodec.h"

#include <new>

#include "engine/core/Object.h"
#include "engine/core/SceneFile.h"
#include "engine/core/Status.h"
#include "engine/resources/File.h"
#include "engine/resources/InternalModule.h"
#include "engine/resources/InternalModuleList.h"

namespace zel {

STRSceneCodec::STRSceneCodec() : SceneCodec(String("STRSceneCodec")) {
    AddExtension(String("STR"));
    AddExtension(String("str"));
    AddExtension(String("Str"));
}

int32_t STRSceneCodec::Create(Codec** codec) {
    STRSceneCodec* created = new (std::nothrow) STRSceneCodec();
    if (created == nullptr) return kOutOfMemory;
    if (created->GetExtensionCount() != 3) {
        delete created;
        return kOutOfMemory;
    }
    *codec = created;
    return kOk;
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

int32_t RegisterSTRSceneCodecModule() { return RegisterInternalCodecModule("STRSceneCodec", &STRSceneCodec::Create); }

}  // namespace zel
