#include "engine/resources/DynamicModule.h"

#include "engine/core/Log.h"
#include "engine/resources/ModuleManager.h"

namespace zel {

DynamicModule::DynamicModule(const String& name) : Module(name) {}

DynamicModule::~DynamicModule() {
    RunShutdown();
    if (GetLibraryHandle() != nullptr && UnloadDynamicModule(this) != 0)
        LogError("Невозможно выгрузить динамический модуль [%s].", GetName().CStr());
}

int32_t DynamicModule::FindSymbol(ModuleSymbol* symbol, const String& name) {
    if (GetLibraryHandle() == nullptr || symbol == nullptr) {
        LogWarning("Указатель при поиске символа [%s] равен 0.", name.CStr());
        return kInvalidArgument;
    }
    ModuleSymbol found = os::FindLibrarySymbol(GetLibraryHandle(), name.CStr());
    if (found == nullptr) {
        LogWarning("Символ [%s] не найден в модуле [%s].", name.CStr(), GetName().CStr());
        return kFailed;
    }
    *symbol = found;
    return kOk;
}

}  // namespace zel
