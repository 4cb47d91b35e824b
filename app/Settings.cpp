#include "app/Settings.h"

#include <cstdio>
#include <cstring>

namespace zel {

namespace {

const SettingField kFields[kSettingCount] = {
    {"ShowFPS", &Settings::showFps, nullptr},
    {"ExitOnMouseMove", &Settings::exitOnMouseMove, nullptr},
    {"ShowTime", &Settings::showTime, nullptr},
    {"UseDesktopSettings", &Settings::useDesktopSettings, nullptr},
    {"Music", &Settings::music, nullptr},
    {"SFX", &Settings::sfx, nullptr},
    {"Hour24", &Settings::hour24, nullptr},
    {"Volume", nullptr, &Settings::volume},
    {"Width", nullptr, &Settings::width},
    {"Height", nullptr, &Settings::height},
    {"ColorDepth", nullptr, &Settings::colorDepth},
    {"AntiAliasing", nullptr, &Settings::antiAliasing},
    {"Gamma", nullptr, &Settings::gamma},
};

}  // namespace

const SettingField& GetSettingField(int32_t index) { return kFields[index]; }

const SettingField* FindSettingField(const String& key) {
    for (const SettingField& field : kFields)
        if (std::strcmp(field.name, key.CStr()) == 0) return &field;
    return nullptr;
}

void ApplySettingText(Settings& settings, const SettingField& field, const char* value) {
    int number = 0;
    const bool parsed = std::sscanf(value, "%d", &number) == 1;
    if (field.flag != nullptr)
        settings.*field.flag = parsed && number != 0;
    else if (parsed)
        settings.*field.number = number;
}

uint32_t GetSettingValue(const Settings& settings, const SettingField& field) {
    if (field.flag != nullptr) return settings.*field.flag ? 1u : 0u;
    return static_cast<uint32_t>(settings.*field.number);
}

void SetSettingValue(Settings& settings, const SettingField& field, uint32_t value) {
    if (field.flag != nullptr)
        settings.*field.flag = value != 0;
    else
        settings.*field.number = static_cast<int32_t>(value);
}

String FormatSettingLine(const Settings& settings, const SettingField& field) {
    char line[64];
    if (field.flag != nullptr)
        std::snprintf(line, sizeof line, "%s: %s", field.name, settings.*field.flag ? "true" : "false");
    else
        std::snprintf(line, sizeof line, "%s: %d", field.name, static_cast<int>(settings.*field.number));
    return String(line);
}

}  // namespace zel
