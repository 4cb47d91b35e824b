// Engine start and stop. Classes and managers register their initialisation,
// post-initialisation and termination functions from static initialisers
// (guarded by once-flags); EngineInitialize and EngineTerminate run them.
#pragma once

#include <cstdint>

#include "engine/core/GrowableArray.h"

namespace zel {

constexpr int32_t kEngineVersionMajor = 0;
constexpr int32_t kEngineVersionMinor = 1;
constexpr int32_t kEngineVersionBuild = 2;

// A registered function returns 0 on success.
using EngineFunction = int32_t (*)();
using EngineFunctionArray = GrowableArray<EngineFunction>;

// Append fn to its registry, creating the registry on first use. When the
// registry cannot be created a CRITICAL line is logged and fn is dropped.
void RegisterInitFunction(EngineFunction fn);
void RegisterPostInitFunction(EngineFunction fn);
void RegisterTermFunction(EngineFunction fn);

// The once-flag protocol of a manager: registers Manager::Initialize and
// Manager::Terminate the first time it is called, nothing afterwards.
template <class Manager>
bool RegisterManagerFunctions() {
    static bool registered = false;
    if (!registered) {
        RegisterInitFunction(&Manager::Initialize);
        RegisterTermFunction(&Manager::Terminate);
        registered = true;
    }
    return true;
}

// Runs every initialisation function, then every post-initialisation
// function, stopping at the first failure. 0 success, 1 failure.
int32_t EngineInitialize();

// Runs every termination function in registration order, stopping at the
// first failure. 0 success, 1 failure. The registries stay filled.
int32_t EngineTerminate();

// Empties and frees the three registries (done at static destruction).
void ClearEngineRegistries();

// The sequences behind the two calls, over explicit function lists (a null
// list counts as empty). Used by the calls above and by tests.
int32_t RunEngineInitialization(const EngineFunctionArray* initFunctions,
                                const EngineFunctionArray* postInitFunctions);
int32_t RunEngineTermination(const EngineFunctionArray* termFunctions);

// Read access to the registries (null before the first registration).
const EngineFunctionArray* GetInitFunctions();
const EngineFunctionArray* GetPostInitFunctions();
const EngineFunctionArray* GetTermFunctions();

}  // namespace zel
