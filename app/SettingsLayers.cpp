#include "app/SettingsLayers.h"

#include <cstring>

namespace zel {

bool ApplySettingsText(const char* text, uint32_t size, Settings& defaults, String& registryPath,
                       const std::function<int32_t(const SettingsLine&)>& onLine, String& failedLine) {
    return ForEachSettingsLine(text, size, [&](const SettingsLine& line) {
        if (const SettingField* field = FindSettingField(line.key))
            ApplySettingText(defaults, *field, line.value.CStr());
        else if (std::strcmp(line.key.CStr(), "RegistryPath") == 0)
            registryPath = line.value;
        if (onLine(line) == 0) return true;
        failedLine = line.content;
        return false;
    });
}

void ApplyStoredSettings(Settings& settings, const std::function<bool(const char* name, uint32_t& value)>& read) {
    for (int32_t i = 0; i < kSettingCount; ++i) {
        const SettingField& field = GetSettingField(i);
        uint32_t value = 0;
        if (read(field.name, value)) SetSettingValue(settings, field, value);
    }
}

bool StoreSettings(const Settings& settings, const std::function<bool(const char* name, uint32_t value)>& write) {
    for (int32_t i = 0; i < kSettingCount; ++i) {
        const SettingField& field = GetSettingField(i);
        if (!write(field.name, GetSettingValue(settings, field))) return false;
    }
    return true;
}

}  // namespace zel
