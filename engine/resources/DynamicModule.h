// A module backed by a dynamic library, loaded by LoadDynamicModule (see
// ModuleManager.h). Entry points are looked up by the system.
#pragma once

#include "engine/resources/Module.h"

namespace zel {

class DynamicModule : public Module {
public:
    explicit DynamicModule(const String& name);
    // Runs "Shutdown", then unloads the library if one is still loaded.
    ~DynamicModule() override;

    // 3 (logged) without a library or with a null output; 1 (logged) when
    // the library does not export `name`.
    int32_t FindSymbol(ModuleSymbol* symbol, const String& name) override;
};

}  // namespace zel
