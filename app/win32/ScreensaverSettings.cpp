// The settings steps of the start: the program's settings resource over the
// compiled defaults, the user's registry values over both, the dump to the
// log and the message table of the user's language.
#include <cstring>

#include "app/SettingsLayers.h"
#include "app/win32/ScreensaverApp.h"
#include "engine/core/Log.h"
#include "engine/os/Os.h"

namespace zel {

namespace {

constexpr int32_t kMessagesResource = 229;
constexpr int32_t kSettingsResource = 239;
constexpr const char* kCompiledRegistryPath = "Software\\Velkor Studio\\Zel 3D Screensaver";

// The bytes of a text resource of the user's language; false (logged)
// when it is missing.
bool LoadTextResource(int32_t id, const char** text, uint32_t* size) {
    const uint8_t* data = nullptr;
    const os::ResourceLookup found = os::FindResourceBytes(id, os::kMediaResourceType, &data, size);
    if (found != os::ResourceLookup::kFound) {
        LogError("Невозможно загрузить ресурс ID[%d].", static_cast<int>(id));
        return false;
    }
    *text = reinterpret_cast<const char*>(data);
    return true;
}

// Shows the system's text for a registry error, wide from end to end: the
// text is the system's, in the user's language.
void ShowRegistryError(LONG error) {
    wchar_t text[512] = L"";
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(error),
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text / sizeof text[0], nullptr);
    MessageBoxW(nullptr, text, L"Error", MB_OK | MB_ICONINFORMATION);
}

}  // namespace

int32_t ScreensaverApp::LoadDefaultSettings() {
    registryPath_ = String(kCompiledRegistryPath);
    const char* text = nullptr;
    uint32_t size = 0;
    if (!LoadTextResource(kSettingsResource, &text, &size)) {
        LogInfo("Ресурс настроек не загружен.");
        return 1;
    }
    LogInfo("Ресурс настроек загружен.");
    String failedLine;
    const bool applied = ApplySettingsText(
        text, size, defaults_, registryPath_,
        [this](const SettingsLine& line) {
            if (std::strcmp(line.key.CStr(), "WebAddress") == 0) webAddress_ = line.value;
            return OnSettingsKey(line.key, line.value);
        },
        failedLine);
    if (!applied) {
        LogError("Неудачна обработка параметра [%s].", failedLine.CStr());
        return 1;
    }
    return 0;
}

int32_t ScreensaverApp::ApplyDefaultSettings() {
    settings_ = defaults_;
    return OnSettingsDefaultsApplied();
}

int32_t ScreensaverApp::ReadSettings() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG opened = RegCreateKeyExA(HKEY_CURRENT_USER, registryPath_.CStr(), 0, nullptr, 0, KEY_READ, nullptr,
                                        &key, &disposition);
    if (opened != ERROR_SUCCESS) {
        LogError("Неудачна попытка открытия пути реестра [%s].", registryPath_.CStr());
        ShowRegistryError(opened);
        return 1;
    }
    if (disposition == REG_CREATED_NEW_KEY) {
        RegCloseKey(key);
        LogInfo("Первый запуск скринсейвера. Запись параметров по-умолчанию в реестр...");
        if (SaveSettings() != 0) {
            LogError("Невозможно записать в реестр значения по-умолчанию.");
            return 1;
        }
        LogInfo("Значения параметров по-умолчанию записаны в реестр.");
        return 0;
    }
    ApplyStoredSettings(settings_, [key](const char* name, uint32_t& value) {
        DWORD type = 0;
        DWORD stored = 0;
        DWORD size = sizeof stored;
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size) != ERROR_SUCCESS ||
            type != REG_DWORD)
            return false;
        value = stored;
        return true;
    });
    const int32_t hooked = OnSettingsRead(key);
    if (RegCloseKey(key) != ERROR_SUCCESS) {
        LogError("Неудачна попытка закрытия пути реестра [%s].", registryPath_.CStr());
        return 1;
    }
    return hooked;
}

int32_t ScreensaverApp::SaveSettings() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, registryPath_.CStr(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        LogError("Неудачна попытка открытия пути реестра [%s].", registryPath_.CStr());
        return 1;
    }
    const bool stored = StoreSettings(settings_, [key](const char* name, uint32_t value) {
        const DWORD word = value;
        return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&word), sizeof word) ==
               ERROR_SUCCESS;
    });
    const int32_t hooked = OnSettingsWritten(key);
    RegFlushKey(key);
    if (RegCloseKey(key) != ERROR_SUCCESS) {
        LogError("Неудачна попытка закрытия пути реестра [%s].", registryPath_.CStr());
        return 1;
    }
    return stored ? hooked : 1;
}

int32_t ScreensaverApp::LogSettings() {
    for (int32_t i = 0; i < kSettingCount; ++i) LogInfo("%s", FormatSettingLine(settings_, GetSettingField(i)).CStr());
    return OnSettingsLogged();
}

int32_t ScreensaverApp::LoadMessageTable() {
    const char* text = nullptr;
    uint32_t size = 0;
    if (!LoadTextResource(kMessagesResource, &text, &size)) {
        LogInfo("Ресурс локальных данных не загружен.");
        return 1;
    }
    LogInfo("Ресурс локальных данных загружен.");
    return messages_.Load(text, size);
}

}  // namespace zel
