// The three layers of the settings: the compiled defaults (Settings' own
// initialisers), the program's settings resource over them, and the values
// stored for the user over both.
#pragma once

#include <cstdint>
#include <functional>

#include "app/Settings.h"
#include "app/SettingsText.h"
#include "engine/core/String.h"

namespace zel {

// Every line of the settings text: a setting's value goes into `defaults`,
// RegistryPath into `registryPath`, and then each line, whatever its key,
// goes to onLine. When onLine fails the line's content is returned in
// `failedLine` and the result is false.
bool ApplySettingsText(const char* text, uint32_t size, Settings& defaults, String& registryPath,
                       const std::function<int32_t(const SettingsLine&)>& onLine, String& failedLine);

// Reads every setting through `read` (false: the stored value is missing
// and the current one stays).
void ApplyStoredSettings(Settings& settings, const std::function<bool(const char* name, uint32_t& value)>& read);

// Hands every setting, in the fixed order, to `write`; false as soon as a
// write fails.
bool StoreSettings(const Settings& settings, const std::function<bool(const char* name, uint32_t value)>& write);

}  // namespace zel
