// Arbitrary bytes as the settings and message resources' text. Every line
// goes through the settings layers and the message table; the first value
// kept for a key must be the one the table gives back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "app/MessageTable.h"
#include "app/SettingsLayers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    const char* text = reinterpret_cast<const char*>(data);
    zel::Settings settings;
    zel::String registryPath, failedLine;
    zel::ApplySettingsText(text, uint32_t(size), settings, registryPath,
                           [](const zel::SettingsLine&) { return int32_t{0}; }, failedLine);
    zel::MessageTable table;
    if (table.Load(text, uint32_t(size)) != 0) return 0;
    // Keys are compared as C strings; with a NUL inside, two different lines
    // may name one key.
    if (std::memchr(data, 0, size) != nullptr) return 0;
    std::set<std::string> seen;
    zel::ForEachSettingsLine(text, uint32_t(size), [&](const zel::SettingsLine& line) {
        if (!seen.insert(std::string(line.key.CStr())).second) return true;
        const zel::String* kept = table.Get(line.key);
        if (kept == nullptr || std::strcmp(kept->CStr(), line.value.CStr()) != 0) std::abort();
        return true;
    });
    return 0;
}
