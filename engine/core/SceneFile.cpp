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
    // What was read and is not part of the root's graph (all of it when the
    // read failed) may link itself in cycles, and nobody will ever hold it.
    const bool failed = stream.ReadLink(read) != 0;
    BreakUnreachedObjects(stream, failed ? nullptr : read.Get());
    if (failed) return kFailed;
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
