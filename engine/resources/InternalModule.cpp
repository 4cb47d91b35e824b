#include "engine/resources/InternalModule.h"

#include <new>

#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/resources/ModuleManager.h"

namespace zel {

InternalModule::InternalModule(const String& name) : Module(name) {}

InternalModule::~InternalModule() { RunShutdown(); }

int32_t InternalModule::AddSymbol(const String& name, ModuleSymbol function) {
    if (function == nullptr) return kInvalidArgument;
    return symbols_.Insert(name, function);
}

int32_t InternalModule::FindSymbol(ModuleSymbol* symbol, const String& name) {
    if (symbol == nullptr) {
        LogWarning("Указатель на символ [%s] равен 0.", name.CStr());
        return kInvalidArgument;
    }
    const ModuleSymbol* found = symbols_.Find(name);
    if (found == nullptr) {
        LogWarning("Невозможно найти символ [%s] в модуле [%s].", name.CStr(), GetName().CStr());
        return kFailed;
    }
    *symbol = *found;
    return kOk;
}

namespace {
int32_t DoNothing() { return kOk; }
}  // namespace

int32_t RegisterInternalModule(const char* name, const char* factoryName, ModuleSymbol factory) {
    Pointer<InternalModule> module = new (std::nothrow) InternalModule(String(name));
    if (module == nullptr) return kFailed;
    if (module->AddFunction(String("Initialize"), &DoNothing) != kOk ||
        module->AddFunction(String("Shutdown"), &DoNothing) != kOk ||
        module->AddSymbol(String(factoryName), factory) != kOk)
        return kFailed;
    // On failure the last reference goes with `module`.
    return RegisterModule(module) == kOk ? kOk : kFailed;
}

int32_t RegisterInternalCodecModule(const char* name, CreateCodecFunction createCodec) {
    return RegisterInternalModule(name, "CreateCodec", reinterpret_cast<ModuleSymbol>(createCodec));
}

}  // namespace zel
