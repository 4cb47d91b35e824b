// The scene file layout: the engine version triple followed by one link to
// the root object. Used by the scene codec on opened files, and by anything
// that holds scene bytes in a stream.
#pragma once

#include <cstdint>

#include "engine/core/Pointer.h"

namespace zel {

class Object;
class Stream;

// The version a file must at least carry, as major × 10000 + minor × 100 + build.
constexpr int32_t kSceneFileMinimumVersion = 102;

// Reads the version triple and the root link. 1 when the version is older
// than the engine's or the graph cannot be read; newer files are accepted.
// Objects read that the root does not reach (all of them after a failure)
// lose their links, so they go with the stream's references; the root's
// graph is torn down with BreakObjectLinks when it is no longer needed.
int32_t ReadSceneFile(Stream& stream, Pointer<Object>& root);

// Writes the engine's version triple and the root link; the stream's error
// state is the result.
int32_t WriteSceneFile(Stream& stream, Object* root);

}  // namespace zel
