#include "engine/sound/SoundManager.h"

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

// Writes the library's bytes out and loads them; 1 after the ERROR line.
int32_t LoadLibraryFromResource() {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    const os::ResourceLookup lookup =
        os::FindResourceBytes(SoundManager::kResourceId, SoundManager::kResourceType, &data, &size);
    if (lookup == os::ResourceLookup::kNotFound) {
        LogError("Инициализация менеджера звука. Невозможно найти ресурс [bass.dll].");
        return kFailed;
    }
    if (lookup == os::ResourceLookup::kFound && size == 0) {
        LogError("Инициализация менеджера звука. Размер ресурса [bass.dll] равен 0.");
        return kFailed;
    }
    if (lookup != os::ResourceLookup::kFound || data == nullptr) {
        LogError("Инициализация менеджера звука. Невозможно залочить ресурс [bass.dll].");
        return kFailed;
    }
    if (!os::WriteTemporaryFile("bas", data, size, gPath)) {
        gPath[0] = '\0';
        LogError("Инициализация менеджера звука. Невозможно создать временный файл [bass.dll].");
        return kFailed;
    }
    gLibrary = os::LoadDynamicLibrary(gPath);
    if (gLibrary == nullptr) {
        LogError("Инициализация менеджера звука. Невозможно загрузить библиотеку [bass.dll].");
        os::DeleteTemporaryFile(gPath);
        gPath[0] = '\0';
        return kFailed;
    }
    return kOk;
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
    if (LoadLibraryFromResource() != kOk) return kFailed;
    // A library without one of the table's functions is as unusable as one
    // of another version.
    const SoundLibrary& library = GetSoundLibrary();
    if (!BindSoundLibrary(gLibrary) || library.BASS_GetVersion() != SoundLibrary::kVersion) {
        LogError("Версия библиотеки BASS не совпадает.");
        UnloadLibrary();
        return kFailed;
    }
    if (library.BASS_Init(-1, kOutputRate, SoundLibrary::kInitFlag3D, nullptr, nullptr) != 0) {
        const uint32_t device = library.BASS_GetDevice();
        const char* description = library.BASS_GetDeviceDescription(device);
        LogInfo("Звук инициализирован. Устройство [%d] [%s]", static_cast<int32_t>(device),
                description != nullptr ? description : "");
    } else {
        const int32_t reason = library.BASS_ErrorGetCode();
        const char* description = library.BASS_GetDeviceDescription(library.BASS_GetDevice());
        LogError("Невозможно инициализировать звук. Причина [%d]. Устройство [%s]", reason,
                 description != nullptr ? description : "");
    }
    library.BASS_Set3DFactors(kDistanceFactor, kRolloffFactor, kDopplerFactor);
    library.BASS_Apply3D();
    SetSoundListenerHook(&ListenerHook);
    LogInfo("Менеджер звука инициализирован.");
    return kOk;
}

void SoundManager::DisableSound() { gSoundDisabled = true; }

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
