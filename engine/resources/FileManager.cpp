#include "engine/resources/FileManager.h"

#include <new>

#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/os/Os.h"
#include "engine/resources/Codec.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/MemoryFile.h"

namespace zel {

namespace {
// Plain pointer: exists between the manager's initialisation and termination.
Directory* gRoot = nullptr;
}  // namespace

int32_t FileManager::Initialize() {
    LogInfo("Инициализация менеджера файлов.");
    if (gRoot == nullptr) gRoot = new (std::nothrow) Directory(String(), nullptr);
    if (gRoot == nullptr) {
        LogError("Недостаточно памяти для инициализации менеджера файлов.");
        return kFailed;
    }
    LogInfo("Менеджер файлов инициализирован.");
    return kOk;
}

int32_t FileManager::Terminate() {
    LogInfo("Завершение работы менеджера файлов.");
    delete gRoot;
    gRoot = nullptr;
    LogInfo("Менеджер файлов завершил работу.");
    return kOk;
}

Directory* GetRootDirectory() { return gRoot; }

int32_t MountArchive(File* archive, const String& password) {
    if (archive == nullptr) {
        LogWarning("Указатель на архив равен 0.");
        return kInvalidArgument;
    }
    Codec* codec = FindCodecForFile(archive);
    if (codec == nullptr) {
        LogWarning("Не найден кодек для архива [%s].", archive->GetName().CStr());
        return kInvalidArgument;
    }
    FileCodec* fileCodec = CodecAs<FileCodec>(codec);
    Directory* directory = nullptr;
    int32_t result = fileCodec != nullptr ? fileCodec->Load(archive, &directory, password) : kFailed;
    if (result == kOk && directory == nullptr) result = kFailed;
    if (result != kOk) {
        LogError("Невозможно загрузить директорию из архива [%s].", archive->GetName().CStr());
        return result;
    }
    if (gRoot == nullptr || gRoot->AttachDirectory(directory) != kOk) {
        LogError("Невозможно подсоединить директорию [%s] к корню.", directory->GetName().CStr());
        delete directory;
        return kFailed;
    }
    return kOk;
}

int32_t MountResourceArchive(int32_t id, const String& name, const String& password) {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    int32_t result = LoadResourceData(id, &data, &size);
    if (result != kOk) {
        LogWarning("Невозможно прочитать ресурс ID[%d] Имя[%s].", id, name.CStr());
        return result;
    }
    MemoryFile* file = new (std::nothrow) MemoryFile(name);
    if (file == nullptr) {
        LogError("Недостаточно памяти для создания виртуального файла.");
        return kOutOfMemory;
    }
    file->SetBorrowedSourceData(data, size);
    result = MountArchive(file, password);
    file->ClearSourceData();  // the system owns the resource bytes
    delete file;
    return result;
}

File* FindMountedFile(const String& path) {
    if (gRoot == nullptr) return nullptr;
    for (int32_t i = 0; i < gRoot->GetDirectoryCount(); ++i)
        if (File* file = gRoot->GetDirectory(i)->FindFile(path)) return file;
    return nullptr;
}

int32_t LoadResourceData(int32_t id, const uint8_t** data, uint32_t* size) {
    if (data == nullptr || size == nullptr) {
        LogError("Указатель на данные ресурса равен 0.");
        return kInvalidArgument;
    }
    switch (os::FindResourceBytes(id, os::kMediaResourceType, data, size)) {
        case os::ResourceLookup::kNotFound:
            LogError("Невозможно найти ресурс ID[%d].", id);
            return kFailed;
        case os::ResourceLookup::kNotLoaded:
            LogError("Невозможно загрузить ресурс ID[%d].", id);
            return kFailed;
        case os::ResourceLookup::kFound:
            break;
    }
    return kOk;
}

}  // namespace zel
