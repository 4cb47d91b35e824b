// A module linked into the program: its entry points sit in a name table
// filled at creation. Internal modules are created and registered by
// post-initialisation functions listed in the engine's start-up order
// (engine/startup/EngineStartup.cpp).
#pragma once

#include <new>

#include "engine/core/HashTable.h"
#include "engine/core/Status.h"
#include "engine/resources/Codec.h"
#include "engine/resources/Module.h"

namespace zel {

class InternalModule : public Module {
public:
    explicit InternalModule(const String& name);
    // Runs "Shutdown", then drops the symbol table.
    ~InternalModule() override;

    // Enters an entry point. kOk; kInvalidArgument for a null function or a
    // name already present (the first stays); kOutOfMemory.
    [[nodiscard]] int32_t AddSymbol(const String& name, ModuleSymbol function);
    template <class F>
    [[nodiscard]] int32_t AddFunction(const String& name, F function) {
        return AddSymbol(name, reinterpret_cast<ModuleSymbol>(function));
    }

    // 3 (logged) for a null output; 1 (logged) when the name is not in the
    // table.
    int32_t FindSymbol(ModuleSymbol* symbol, const String& name) override;

private:
    NameTable<ModuleSymbol> symbols_;
};

// The whole registration of an internal module: creates it with "Initialize"
// and "Shutdown" entry points that do nothing and return 0, enters `factory`
// under `factoryName` ("CreateCodec" or "CreateRenderer") and registers it
// with the module manager. 0; 1 when memory runs out or the registration is
// refused (the module is then destroyed).
int32_t RegisterInternalModule(const char* name, const char* factoryName, ModuleSymbol factory);

// The same for a codec module, whose factory is "CreateCodec".
int32_t RegisterInternalCodecModule(const char* name, CreateCodecFunction createCodec);

// The "CreateCodec" entry point of codec class T: stores a new T in *codec.
// 0; 2 when T or its extension list could not be allocated.
template <class T>
[[nodiscard]] int32_t CreateCodec(Codec** codec) {
    T* created = new (std::nothrow) T();
    if (created == nullptr) return kOutOfMemory;
    if (!created->HasAllExtensions()) {
        delete created;
        return kOutOfMemory;
    }
    *codec = created;
    return kOk;
}

// The post-initialisation function of codec class T's internal module,
// named T::kModuleName.
template <class T>
int32_t RegisterCodecModule() {
    return RegisterInternalCodecModule(T::kModuleName, &CreateCodec<T>);
}

}  // namespace zel
