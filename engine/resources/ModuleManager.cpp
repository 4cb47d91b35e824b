#include "engine/resources/ModuleManager.h"

#include <new>

#include "engine/core/CountedRegistry.h"
#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/resources/DynamicModule.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/PathText.h"

namespace zel {

namespace {

CountedRegistry<Module> gModules({"Указатель на модуль равен 0 при регистрации.", "Модуль с именем [%s] уже зарегестрирован.",
                                     "Невозможно вставить модуль [%s] в таблицу зарегестрированных модулей."});

}  // namespace

int32_t ModuleManager::Initialize() {
    LogInfo("Инициализация менеджера модулей.");
    if (!gModules.Create()) {
        LogError("Недостаточно памяти для инициализации менеджера модулей.");
        return kFailed;
    }
    LogInfo("Менеджер модулей инициализирован.");
    return kOk;
}

int32_t ModuleManager::Terminate() {
    LogInfo("Завершение работы менеджера модулей.");
    gModules.Destroy();
    LogInfo("Менеджер модулей завершил работу.");
    return kOk;
}

int32_t RegisterModule(Module* module) { return gModules.Register(module); }

Module* FindModule(const String& name) { return gModules.Find(name); }

int32_t LoadModule(const String& name, Pointer<Module>* module) {
    if (Module* registered = FindModule(name)) {
        if (module != nullptr) *module = registered;
        return kOk;
    }
    LogInfo("Загружается модуль [%s].", name.CStr());
    Pointer<Module> loaded;
    int32_t result = LoadDynamicModule(&loaded, name);
    if (result != kOk) {
        LogError("Невозможно загрузить модуль [%s].", name.CStr());
        return result;
    }
    loaded->SetName(name);
    ModuleInitializeFunction initialize = nullptr;
    if (loaded->FindSymbolAs(&initialize, String("Initialize")) != kOk) {
        LogWarning("В модуле не найдена функция инициализации модуля [%s].", name.CStr());
    } else if (initialize() != 0) {
        LogError("Неудачна инициализация модуля.");
        return kFailed;
    }
    if (RegisterModule(loaded) != kOk) {
        LogError("Невозможно зарегестрировать модуль [%s].", name.CStr());
        return kFailed;
    }
    if (module != nullptr) *module = loaded;
    return kOk;
}

int32_t LoadDynamicModule(Pointer<Module>* module, const String& name) {
    if (module == nullptr) {
        LogWarning("Указатель на модуль [%s] равен 0.", name.CStr());
        return kInvalidArgument;
    }
    LogInfo("Загружается модуль [%s].", name.CStr());
    String fileName = ConcatStrings(name, String(), ".dll");
    File* file = FindMountedFile(fileName);
    if (file == nullptr) {
        LogWarning("Не найден файл модуля [%s].", fileName.CStr());
        return kInvalidArgument;
    }
    Pointer<Module> created = new (std::nothrow) DynamicModule(name);
    if (created == nullptr) {
        LogWarning("Недостаточно памяти для создания модуля [%s].", name.CStr());
        return kOutOfMemory;
    }
    void* library = os::LoadDynamicLibrary(file->GetFullPath().CStr());
    if (library == nullptr) {
        created = nullptr;
        LogWarning("Загрузка модуля [%s] неудачна.", name.CStr());
        return kFailed;
    }
    created->SetLibraryHandle(library);
    *module = created;
    return kOk;
}

int32_t UnloadDynamicModule(Module* module) {
    if (module == nullptr) {
        LogWarning("Указатель на модуль [%s] равен 0.", "");
        return kInvalidArgument;
    }
    LogInfo("Выгружается модуль [%s].", module->GetName().CStr());
    if (module->GetLibraryHandle() == nullptr) return kOk;
    if (!os::FreeDynamicLibrary(module->GetLibraryHandle())) {
        LogWarning("Выгрузка модуля [%s] неудачна.", module->GetName().CStr());
        return kFailed;
    }
    module->SetLibraryHandle(nullptr);
    return kOk;
}

}  // namespace zel
