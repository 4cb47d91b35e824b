#include "engine/resources/ModuleManager.h"

#include <new>

#include "engine/core/Engine.h"
#include "engine/core/HashTable.h"
#include "engine/core/Log.h"
#include "engine/resources/DynamicModule.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/PathText.h"

namespace zel {

namespace {

// Each entry holds one reference, taken on a successful insert, so a failed
// registration never releases the caller's module.
using ModuleTable = NameTable<Module*>;

// Plain pointer: exists between the manager's initialisation and termination.
ModuleTable* gModules = nullptr;
bool gFunctionsRegistered = false;

}  // namespace

bool ModuleManager::RegisterFunctions() {
    if (!gFunctionsRegistered) {
        RegisterInitFunction(&Initialize);
        RegisterTermFunction(&Terminate);
        gFunctionsRegistered = true;
    }
    return true;
}

int32_t ModuleManager::Initialize() {
    LogInfo("Инициализация менеджера модулей.");
    if (gModules == nullptr) gModules = new (std::nothrow) ModuleTable();
    if (gModules == nullptr) {
        LogError("Недостаточно памяти для инициализации менеджера модулей.");
        return kFailed;
    }
    LogInfo("Менеджер модулей инициализирован.");
    return kOk;
}

int32_t ModuleManager::Terminate() {
    LogInfo("Завершение работы менеджера модулей.");
    if (gModules != nullptr) {
        // Detach the table first: a module's Shutdown may look modules up.
        ModuleTable* modules = gModules;
        gModules = nullptr;
        modules->ForEach([](const String&, Module* module) {
            module->RemoveReference();
            return true;
        });
        delete modules;
    }
    LogInfo("Менеджер модулей завершил работу.");
    return kOk;
}

int32_t RegisterModule(Module* module) {
    if (module == nullptr) {
        LogWarning("Указатель на модуль равен 0 при регистрации.");
        return kInvalidArgument;
    }
    if (gModules != nullptr && gModules->Find(module->GetName()) != nullptr) {
        LogWarning("Модуль с именем [%s] уже зарегестрирован.", module->GetName().CStr());
        return kFailed;
    }
    if (gModules == nullptr || gModules->Insert(module->GetName(), module) != kOk) {
        LogWarning("Невозможно вставить модуль [%s] в таблицу зарегестрированных модулей.", module->GetName().CStr());
        return kFailed;
    }
    module->AddReference();
    return kOk;
}

Module* FindModule(const String& name) {
    if (gModules == nullptr) return nullptr;
    Module** found = gModules->Find(name);
    return found != nullptr ? *found : nullptr;
}

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
