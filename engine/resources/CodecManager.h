// The codec registry: codecs by name, each held by one reference; a file's
// codec is chosen by extension. Also the scene loader built on it.
#pragma once

#include <cstdint>

#include "engine/core/Pointer.h"
#include "engine/core/String.h"
#include "engine/resources/Codec.h"

namespace zel {

class File;
class Object;

// Enters the codec under its own name; the registry takes a reference.
// kOk; kInvalidArgument for null; kFailed for a name already registered
// (the first codec stays) or a refused insert. Failures are logged. On
// failure the caller still owns the codec.
int32_t RegisterCodec(Codec* codec);

// The registered codec of that name, or null (registry only). The pointer
// stays valid until the codec manager's termination.
Codec* FindCodec(const String& name);

// The registered codec of that name, or else one created by the
// "CreateCodec" entry point of the registered module of that name, tied to
// that module and registered. *codec (when codec is non-null) receives it.
// kOk; kInvalidArgument when the module or its "CreateCodec" is missing (no
// module is loaded here); kFailed when creation or registration fails.
int32_t LoadCodec(const String& name, Pointer<Codec>* codec);

// The first registered codec, in the registry's iteration order, whose
// AcceptsFile gives 0 for the file; null when none does. Any kind.
Codec* FindCodecForFile(File* file);

// Loads a scene through the codec found for the file, which must be a
// scene codec; *scene receives the root. kOk; kInvalidArgument (logged) for
// a null argument or no codec; kFailed (logged) when the codec fails or is
// of another kind.
int32_t LoadScene(File* file, Pointer<Object>* scene);

class CodecManager {
public:
    // Creates the registry if absent. 0; 1 out of memory.
    [[nodiscard]] static int32_t Initialize();
    // Releases every codec in iteration order, then the registry. 0.
    static int32_t Terminate();
};

}  // namespace zel
