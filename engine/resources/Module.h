// A named table of entry points: a dynamic library (DynamicModule) or code
// linked into the program (InternalModule). Modules are reference counted:
// the module registry, every codec a module created and every file such a
// codec produced hold a reference, and the module is destroyed (running its
// "Shutdown" entry point) when the last one lets go.
#pragma once

#include <cstdint>

#include "engine/core/Named.h"
#include "engine/core/RefCounted.h"
#include "engine/core/String.h"
#include "engine/os/Os.h"

namespace zel {

class Codec;

// Generic entry-point address; FindSymbolAs converts it to the real type.
using ModuleSymbol = os::LibrarySymbol;

// Entry points a module may export. All return 0 on success.
using ModuleInitializeFunction = int32_t (*)();  // "Initialize"
using ModuleShutdownFunction = int32_t (*)();    // "Shutdown"
// "CreateCodec": stores a new codec (no reference taken yet) in *codec;
// 0, or 2 when memory runs out.
using CreateCodecFunction = int32_t (*)(Codec** codec);

class Module : public RefCounted, public Named {
public:
    explicit Module(const String& name);
    // Derived destructors run the "Shutdown" entry point first.
    ~Module() override = default;

    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // Stores the address of the entry point `name` in *symbol. 0 found;
    // 1 not found; 3 null output (or no library). Failures are logged.
    virtual int32_t FindSymbol(ModuleSymbol* symbol, const String& name) = 0;

    // FindSymbol with the address converted to the entry point's type F.
    template <class F>
    int32_t FindSymbolAs(F* function, const String& name) {
        if (function == nullptr) return FindSymbol(nullptr, name);
        ModuleSymbol symbol = nullptr;
        int32_t result = FindSymbol(&symbol, name);
        if (result == 0) *function = reinterpret_cast<F>(symbol);
        return result;
    }

    // The system's handle of a loaded library; null for internal modules
    // and after unloading.
    void* GetLibraryHandle() const { return libraryHandle_; }
    // Used by LoadDynamicModule and UnloadDynamicModule only.
    void SetLibraryHandle(void* handle) { libraryHandle_ = handle; }

protected:
    // Looks up and calls "Shutdown", logging a missing or failing one.
    // Each concrete module calls it first in its destructor, while its own
    // FindSymbol still works.
    void RunShutdown();

private:
    void* libraryHandle_ = nullptr;
};

}  // namespace zel
