#include "engine/core/SceneFile.h"

#include "engine/core/Engine.h"
#include "engine/core/Object.h"
#include "engine/core/ObjectGraph.h"
#include "engine/core/Stream.h"

namespace zel {

int32_t ReadSceneFile(Stream& stream, Pointer<Object>& root) {
    int32_t version[3] = {};
    if (stream.ReadIntTriple(version) != 0) return kFailed;
    int64_t value = int64_t{version[0]} * 10000 + int64_t{version[1]} * 100 + version[2];
    if (value < kSceneFileMinimumVersion) return kFailed;
    Pointer<Object> read;
    if (stream.ReadLink(read) != 0) {
        // What was read may link itself in cycles; nobody will ever hold it.
        BreakCreatedObjects(stream);
        return kFailed;
    }
    root = read;
    return kOk;
}

int32_t WriteSceneFile(Stream& stream, Object* root) {
    const int32_t version[3] = {kEngineVersionMajor, kEngineVersionMinor, kEngineVersionBuild};
    stream.WriteIntTriple(version);
    stream.WriteLink(root);
    return stream.GetErrorState();
}

}  // namespace zel
