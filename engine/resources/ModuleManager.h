// The module registry: modules by name, each held by one reference.
// Its functions are registered in the engine's start-up order
// (engine/startup/EngineStartup.h).
#pragma once

#include <cstdint>

#include "engine/core/Pointer.h"
#include "engine/core/String.h"
#include "engine/resources/Module.h"

namespace zel {

// Enters the module under its own name; the registry takes a reference.
// kOk; kInvalidArgument for null; kFailed for a name already registered
// (the first module stays) or a refused insert. Failures are logged. On
// failure the caller still owns the module.
int32_t RegisterModule(Module* module);

// The registered module of that name, or null. Looks in the registry only;
// the pointer stays valid while the module is registered.
Module* FindModule(const String& name);

// The registered module of that name, or else a dynamic library
// name + ".dll" found in the virtual file system, loaded, initialised and
// registered under `name`. *module (when module is non-null) receives it.
// kOk; the status of LoadDynamicModule when loading fails; kFailed when
// "Initialize" fails or the registration is refused.
int32_t LoadModule(const String& name, Pointer<Module>* module);

// Loads the library name + ".dll" (found with FindMountedFile, loaded from
// the file's full path) into a new DynamicModule, not registered.
// kOk; kInvalidArgument for a null output or a missing file; kOutOfMemory;
// kFailed when the system refuses the library.
int32_t LoadDynamicModule(Pointer<Module>* module, const String& name);

// Unloads the module's library and clears its handle. kOk (also when no
// library is loaded); kInvalidArgument for null; kFailed when the system
// refuses (the handle is kept).
int32_t UnloadDynamicModule(Module* module);

class ModuleManager {
public:
    // Creates the registry if absent. 0; 1 out of memory.
    [[nodiscard]] static int32_t Initialize();
    // Releases every module in iteration order, then the registry. 0.
    static int32_t Terminate();
};

}  // namespace zel
