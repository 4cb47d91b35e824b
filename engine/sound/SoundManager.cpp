#include "engine/sound/SoundManager.h"

#include <cstdio>

#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/math/Vector3.h"
#include "engine/os/Os.h"
#include "engine/render/Renderer.h"
#include "engine/sound/SoundLibrary.h"

namespace zel {

namespace {

void* gLibrary = nullptr;  // the loaded library, null when none
bool gSoundDisabled = false;
char gPath[os::kMaxPath] = {};

// Where the library goes when the temporary folder refuses it, below the
// user's local application-data folder.
constexpr const char* kFallbackFolder = "Velkor Studio";
constexpr const char* kCannotWrite = "Инициализация менеджера звука. Невозможно создать временный файл [bass.dll].";

enum class LibraryLoad {
    kLoaded,
    kNotLoaded,  // no place took it: the program runs without sound
    kFailed,     // the program carries no usable resource
};

// The library's bytes in the program's resources; false after the ERROR line.
bool FindLibraryResource(const uint8_t** data, uint32_t* size) {
    const os::ResourceLookup lookup =
        os::FindResourceBytes(SoundManager::kResourceId, SoundManager::kResourceType, data, size);
    if (lookup == os::ResourceLookup::kNotFound) {
        LogError("Инициализация менеджера звука. Невозможно найти ресурс [bass.dll].");
        return false;
    }
    if (lookup == os::ResourceLookup::kFound && *size == 0) {
        LogError("Инициализация менеджера звука. Размер ресурса [bass.dll] равен 0.");
        return false;
    }
    if (lookup != os::ResourceLookup::kFound || *data == nullptr) {
        LogError("Инициализация менеджера звука. Невозможно залочить ресурс [bass.dll].");
        return false;
    }
    return true;
}

// "<local application data>Velkor Studio", created when missing; false
// when there is no such folder and none can be made.
bool GetFallbackFolder(char* folder) {
    char base[os::kMaxPath];
    if (!os::GetLocalAppDataFolder(base)) return false;
    const int length = std::snprintf(folder, os::kMaxPath, "%s%s", base, kFallbackFolder);
    return length > 0 && static_cast<uint32_t>(length) < os::kMaxPath && os::CreateFolder(folder);
}

// Writes the library into `folder` (null: the temporary folder) and loads
// it from there; false after the failure's ERROR line, with nothing left
// behind.
bool WriteAndLoad(const char* folder, const uint8_t* data, uint32_t size) {
    const bool written = folder != nullptr ? os::WriteUniqueFile(folder, "bas", data, size, gPath)
                                           : os::WriteTemporaryFile("bas", data, size, gPath);
    if (!written) {
        gPath[0] = '\0';
        LogError("%s", kCannotWrite);
        return false;
    }
    gLibrary = os::LoadDynamicLibrary(gPath);
    if (gLibrary == nullptr) {
        LogError("Инициализация менеджера звука. Невозможно загрузить библиотеку [bass.dll].");
        os::DeleteTemporaryFile(gPath);
        gPath[0] = '\0';
        return false;
    }
    return true;
}

// The temporary folder first; a locked-down one, or a policy that refuses
// libraries there, sends the library to the fallback folder.
LibraryLoad LoadLibraryFromResource() {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!FindLibraryResource(&data, &size)) return LibraryLoad::kFailed;
    if (WriteAndLoad(nullptr, data, size)) return LibraryLoad::kLoaded;
    char folder[os::kMaxPath];
    if (!GetFallbackFolder(folder)) {
        LogError("%s", kCannotWrite);
        return LibraryLoad::kNotLoaded;
    }
    return WriteAndLoad(folder, data, size) ? LibraryLoad::kLoaded : LibraryLoad::kNotLoaded;
}

const char* CurrentDeviceDescription(const SoundLibrary& library) {
    const char* description = library.BASS_GetDeviceDescription(library.BASS_GetDevice());
    return description != nullptr ? description : "";
}

void UnloadLibrary() {
    SetSoundListenerHook(nullptr);
    // Cleared first: nodes that outlive the library must not call into it.
    ClearSoundLibrary();
    os::FreeDynamicLibrary(gLibrary);
    gLibrary = nullptr;
    os::DeleteTemporaryFile(gPath);
    gPath[0] = '\0';
}

void ListenerHook(const Vector3& position, const Vector3& direction, const Vector3& up) {
    SoundManager::UpdateListener(position, direction, up);
}

}  // namespace

int32_t SoundManager::Initialize() {
    LogInfo("Инициализация менеджера звука.");
    if (gLibrary != nullptr) return kOk;
    if (gSoundDisabled) {
        LogInfo("Звук отключён: программа работает без звука.");
        return kOk;
    }
    const LibraryLoad load = LoadLibraryFromResource();
    if (load == LibraryLoad::kFailed) return kFailed;
    if (load == LibraryLoad::kNotLoaded) {
        // The call table stays empty: every node is silent, as after a
        // failed BASS_Init.
        LogInfo("Инициализация менеджера звука. Библиотека [bass.dll] не загружена, работа продолжается без звука.");
        LogInfo("Менеджер звука инициализирован.");
        return kOk;
    }
    // A library without one of the table's functions is as unusable as one
    // of another version.
    const SoundLibrary& library = GetSoundLibrary();
    if (!BindSoundLibrary(gLibrary) || library.BASS_GetVersion() != SoundLibrary::kVersion) {
        LogError("Версия библиотеки BASS не совпадает.");
        UnloadLibrary();
        return kFailed;
    }
    InitializeDevice(nullptr);
    library.BASS_Set3DFactors(kDistanceFactor, kRolloffFactor, kDopplerFactor);
    library.BASS_Apply3D();
    SetSoundListenerHook(&ListenerHook);
    LogInfo("Менеджер звука инициализирован.");
    return kOk;
}

void SoundManager::DisableSound() { gSoundDisabled = true; }

bool SoundManager::InitializeDevice(void* window) {
    const SoundLibrary& library = GetSoundLibrary();
    if (library.BASS_Init == nullptr) return false;
    if (library.BASS_Init(-1, kOutputRate, SoundLibrary::kInitFlag3D, window, nullptr) == 0) {
        // Read first: every later call sets the code again.
        const int32_t reason = library.BASS_ErrorGetCode();
        LogError("Невозможно инициализировать звук. Причина [%d]. Устройство [%s]", reason,
                 CurrentDeviceDescription(library));
        return false;
    }
    LogInfo("Звук инициализирован. Устройство [%d] [%s]", static_cast<int32_t>(library.BASS_GetDevice()),
            CurrentDeviceDescription(library));
    return true;
}

int32_t SoundManager::Terminate() {
    LogInfo("Завершение работы менеджера звука.");
    const SoundLibrary& library = GetSoundLibrary();
    if (library.BASS_Free != nullptr) library.BASS_Free();
    if (gLibrary != nullptr) {
        UnloadLibrary();
        LogInfo("Менеджер звука завершил работу.");
    }
    return kOk;
}

bool SoundManager::IsLoaded() { return gLibrary != nullptr; }

const char* SoundManager::GetLibraryPath() { return gPath; }

void SoundManager::SetMasterVolume(uint32_t percent) {
    const SoundLibrary& library = GetSoundLibrary();
    if (library.BASS_SetConfig != nullptr)
        library.BASS_SetConfig(SoundLibrary::kConfigStreamVolume, percent > 100 ? 100 : percent);
}

void SoundManager::UpdateListener(const Vector3&, const Vector3& direction, const Vector3& up) {
    const SoundLibrary& library = GetSoundLibrary();
    if (library.BASS_Set3DPosition == nullptr) return;
    const SoundVector front{direction.x, direction.y, direction.z};
    const SoundVector top{up.x, up.y, up.z};
    library.BASS_Set3DPosition(nullptr, nullptr, &front, &top);
    library.Apply3D();
}

}  // namespace zel
