#include "engine/resources/Module.h"

#include "engine/core/Log.h"

namespace zel {

Module::Module(const String& name) : Named(name) {}

void Module::RunShutdown() {
    ModuleShutdownFunction shutdown = nullptr;
    if (FindSymbolAs(&shutdown, String("Shutdown")) != 0) {
        LogWarning("В модуле не найдена функция завершения работы модуля [%s].", GetName().CStr());
        return;
    }
    if (shutdown() != 0) LogError("Неудачно завершение работы модуля.");
}

}  // namespace zel
