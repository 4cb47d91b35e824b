#include "engine/resources/STRSceneCodec.h"

#include <new>

#include "engine/core/Engine.h"
#include "engine/core/Object.h"
#include "engine/core/Status.h"
#include "engine/resources/File.h"
#include "engine/resources/InternalModule.h"
#include "engine/resources/InternalModuleList.h"

namespace zel {

namespace {

// Versions compare as major * 10000 + minor * 100 + build, in 64 bits so
// that hostile triples cannot overflow.
int64_t VersionNumber(int64_t major, int64_t minor, int64_t build) { return major * 10000 + minor * 100 + build; }

const int64_t kEngineVersionNumber = VersionNumber(kEngineVersionMajor, kEngineVersionMinor, kEngineVersionBuild);

}  // namespace

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
    int32_t version[3];
    Pointer<Object> read;
    bool loaded = file->ReadIntTriple(version) == 0 &&
                  VersionNumber(version[0], version[1], version[2]) >= kEngineVersionNumber &&
                  file->ReadLink(read) == 0;
    if (!loaded) {
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
    const int32_t version[3] = {kEngineVersionMajor, kEngineVersionMinor, kEngineVersionBuild};
    file->WriteIntTriple(version);
    file->WriteLink(root);
    bool written = file->GetErrorState() == 0;
    if (file->Close() != kOk) return kFailed;
    return written ? kOk : kFailed;
}

int32_t RegisterSTRSceneCodecModule() { return RegisterInternalCodecModule("STRSceneCodec", &STRSceneCodec::Create); }

}  // namespace zel
