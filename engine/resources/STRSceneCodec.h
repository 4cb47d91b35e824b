// The STR scene file: the engine version triple (int32 major, minor, build)
// followed by one object link to the root (the byte format of Stream).
#pragma once

#include "engine/resources/Codec.h"

namespace zel {

class STRSceneCodec : public SceneCodec {
public:
    // Named "STRSceneCodec", taking the extensions "STR", "str", "Str".
    STRSceneCodec();

    // Reads the triple and the root link. Files of the engine's version
    // (0.1.2) or newer are read; older ones give 1. 3 for null arguments;
    // 1 when the file cannot be opened, read or closed.
    [[nodiscard]] int32_t Load(File* file, Pointer<Object>* root) override;
    // Writes the engine's triple and the root link; the file's Close puts
    // them on disk. 1 for null arguments, a failed open or close, or a
    // failed write (the stream's error state).
    [[nodiscard]] int32_t Save(File* file, Object* root) override;

    // Name of the internal module whose "CreateCodec" makes this codec.
    static constexpr const char* kModuleName = "STRSceneCodec";
};

}  // namespace zel
