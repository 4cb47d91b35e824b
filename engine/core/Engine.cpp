#include "engine/core/Engine.h"

#include <cstdlib>
#include <ctime>
#include <new>

#include "engine/core/Log.h"

namespace zel {

namespace {

// Plain pointers: zero before any static constructor runs, so registration
// from other translation units' static initialisers is safe in any order.
EngineFunctionArray* gInitFunctions = nullptr;
EngineFunctionArray* gPostInitFunctions = nullptr;
EngineFunctionArray* gTermFunctions = nullptr;

struct RegistriesOwner {
    ~RegistriesOwner() { ClearEngineRegistries(); }
} gRegistriesOwner;

void Register(EngineFunctionArray*& registry, EngineFunction fn, const char* noMemoryMessage) {
    if (registry == nullptr) registry = new (std::nothrow) EngineFunctionArray(1, 2);
    if (registry == nullptr || registry->Append(fn) != kOk) LogCritical("%s", noMemoryMessage);
}

// Calls the functions in order; the count is re-read after each call because
// a function may register further functions. Returns the first failure.
int32_t RunAll(const EngineFunctionArray* functions) {
    for (int32_t i = 0; functions != nullptr && i < functions->Count(); ++i)
        if ((*functions)[i]() != kOk) return kFailed;
    return kOk;
}

}  // namespace

void RegisterInitFunction(EngineFunction fn) {
    Register(gInitFunctions, fn, "Недостаточно памяти для создания массива функций инициализации.");
}

void RegisterPostInitFunction(EngineFunction fn) {
    Register(gPostInitFunctions, fn, "Недостаточно памяти для создания массива функций постинициализации.");
}

void RegisterTermFunction(EngineFunction fn) {
    Register(gTermFunctions, fn, "Недостаточно памяти для создания массива функций деинициализации.");
}

int32_t RunEngineInitialization(const EngineFunctionArray* initFunctions,
                                const EngineFunctionArray* postInitFunctions) {
    LogInfo("Инициализация движка v.%d.%d.%d:", kEngineVersionMajor, kEngineVersionMinor, kEngineVersionBuild);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (RunAll(initFunctions) != kOk) {
        LogError("Инициализация движка неудачно.");
        return kFailed;
    }
    LogInfo("Инициализация движка завершилась удачно.");
    LogInfo("Постинициализация движка:");
    if (RunAll(postInitFunctions) != kOk) {
        LogError("Постинициализация движка неудачна.");
        return kFailed;
    }
    LogInfo("Постинициализация движка завершилась удачно.");
    return kOk;
}

int32_t RunEngineTermination(const EngineFunctionArray* termFunctions) {
    LogInfo("Завершение работы движка:");
    if (RunAll(termFunctions) != kOk) {
        LogError("Завершение работы движка неудачно.");
        return kFailed;
    }
    LogInfo("Завершение работы движка завершилось удачно.");
    return kOk;
}

int32_t EngineInitialize() { return RunEngineInitialization(gInitFunctions, gPostInitFunctions); }

int32_t EngineTerminate() { return RunEngineTermination(gTermFunctions); }

void ClearEngineRegistries() {
    for (EngineFunctionArray** registry : {&gInitFunctions, &gPostInitFunctions, &gTermFunctions}) {
        delete *registry;
        *registry = nullptr;
    }
}

const EngineFunctionArray* GetInitFunctions() { return gInitFunctions; }
const EngineFunctionArray* GetPostInitFunctions() { return gPostInitFunctions; }
const EngineFunctionArray* GetTermFunctions() { return gTermFunctions; }

}  // namespace zel
