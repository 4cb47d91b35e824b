#include "engine/resources/CodecManager.h"

#include <new>

#include "engine/core/CountedRegistry.h"
#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/core/Object.h"
#include "engine/resources/File.h"
#include "engine/resources/ModuleManager.h"

namespace zel {

namespace {

CountedRegistry<Codec> gCodecs({"Указатель на кодек равен 0 при регистрации.", "Кодек с именем [%s] уже зарегестрирован.",
                                   "Невозможно вставить кодек [%s] в таблицу кодеков."});

}  // namespace

int32_t CodecManager::Initialize() {
    LogInfo("Инициализация менеджера кодеков.");
    if (!gCodecs.Create()) {
        LogError("Недостаточно памяти для инициализации менеджера кодеков.");
        return kFailed;
    }
    LogInfo("Менеджер кодеков инициализирован.");
    return kOk;
}

int32_t CodecManager::Terminate() {
    LogInfo("Завершение работы менеджера кодеков.");
    gCodecs.Destroy();
    LogInfo("Менеджер кодеков завершил работу.");
    return kOk;
}

int32_t RegisterCodec(Codec* codec) { return gCodecs.Register(codec); }

Codec* FindCodec(const String& name) { return gCodecs.Find(name); }

int32_t LoadCodec(const String& name, Pointer<Codec>* codec) {
    if (Codec* registered = FindCodec(name)) {
        if (codec != nullptr) *codec = registered;
        return kOk;
    }
    LogInfo("Загружается кодек [%s].", name.CStr());
    Module* module = FindModule(name);
    if (module == nullptr) {
        LogError("Не найден модуль для кодека [%s].", name.CStr());
        return kInvalidArgument;
    }
    CreateCodecFunction create = nullptr;
    if (module->FindSymbolAs(&create, String("CreateCodec")) != kOk) {
        LogError("В модуле не найдена функция создания кодека [%s].", name.CStr());
        return kInvalidArgument;
    }
    Codec* raw = nullptr;
    if (create(&raw) != kOk || raw == nullptr) {
        LogError("Создание кодека [%s] неудачно.", name.CStr());
        return kFailed;
    }
    Pointer<Codec> created(raw);
    created->SetModule(module);
    if (RegisterCodec(created) != kOk) {
        LogError("Невозможно зарегестрировать кодек [%s].", name.CStr());
        return kFailed;
    }
    if (codec != nullptr) *codec = created;
    return kOk;
}

Codec* FindCodecForFile(File* file) {
    Codec* found = nullptr;
    gCodecs.ForEach([&](Codec* codec) {
        if (codec->AcceptsFile(file) != kOk) return true;
        found = codec;
        return false;
    });
    return found;
}

int32_t LoadScene(File* file, Pointer<Object>* scene) {
    if (file == nullptr || scene == nullptr) {
        LogWarning("Указатель на файл или сцену равен 0.");
        return kInvalidArgument;
    }
    Codec* codec = FindCodecForFile(file);
    if (codec == nullptr) {
        LogWarning("Не найден кодек для файла [%s].", file->GetName().CStr());
        return kInvalidArgument;
    }
    SceneCodec* sceneCodec = CodecAs<SceneCodec>(codec);
    if (sceneCodec == nullptr || sceneCodec->Load(file, scene) != kOk) {
        LogError("Неудачна загрузка сцены из файла [%s].", file->GetName().CStr());
        return kFailed;
    }
    return kOk;
}

}  // namespace zel
