#include "app/MessageTable.h"

#include "app/SettingsText.h"

namespace zel {

int32_t MessageTable::Load(const char* text, uint32_t size) {
    int32_t status = kOk;
    ForEachSettingsLine(text, size, [&](const SettingsLine& line) {
        // A refused insert of a present key is the first-wins rule.
        if (table_.Insert(line.key, line.value) == kOutOfMemory) status = kOutOfMemory;
        return status == kOk;
    });
    return status;
}

const char* MessageTable::GetText(const char* key, const char* fallback) const {
    const String* value = Get(String(key));
    return value != nullptr ? value->CStr() : fallback;
}

}  // namespace zel
