// The user's settings: one block of thirteen values, their names as the
// settings text and the registry spell them, and the compiled defaults.
#pragma once

#include <cstdint>

#include "engine/core/String.h"

namespace zel {

struct Settings {
    bool showFps = false;
    bool exitOnMouseMove = true;
    bool showTime = true;
    bool useDesktopSettings = true;
    bool music = true;
    bool sfx = true;
    bool hour24 = true;
    int32_t volume = 80;
    int32_t width = 800;
    int32_t height = 600;
    int32_t colorDepth = 32;
    int32_t antiAliasing = 0;
    int32_t gamma = 100;

    bool operator==(const Settings&) const = default;
};

// One setting: its name and where it lives in the block. Exactly one of the
// two members is set.
struct SettingField {
    const char* name;
    bool Settings::*flag;
    int32_t Settings::*number;
};

constexpr int32_t kSettingCount = 13;

// The thirteen settings in their fixed order (the order of the block, of
// the log and of the registry writes).
const SettingField& GetSettingField(int32_t index);

// The field called `key`, or null.
const SettingField* FindSettingField(const String& key);

// Stores the text value of a settings line: a number, a flag being true
// when the number is not 0. A value that is not a number makes a flag
// false and leaves a number unchanged.
void ApplySettingText(Settings& settings, const SettingField& field, const char* value);

// The field's value as the registry stores it (flags as 0 or 1).
uint32_t GetSettingValue(const Settings& settings, const SettingField& field);
void SetSettingValue(Settings& settings, const SettingField& field, uint32_t value);

// The log's line for the field: "ShowFPS: true", "Volume: 80".
String FormatSettingLine(const Settings& settings, const SettingField& field);

}  // namespace zel
