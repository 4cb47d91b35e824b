// The user-interface texts by key, read from the message resource. The
// first occurrence of a key wins.
#pragma once

#include <cstdint>

#include "engine/core/HashTable.h"
#include "engine/core/String.h"

namespace zel {

class MessageTable {
public:
    // Adds every key/value line of the text; keys already present keep
    // their value. kOk, or kOutOfMemory.
    [[nodiscard]] int32_t Load(const char* text, uint32_t size);
    // The value, or null when the key is absent.
    const String* Get(const String& key) const { return table_.Find(key); }
    // The value as text, or `fallback` when the key is absent.
    const char* GetText(const char* key, const char* fallback) const;
    int32_t Count() const { return table_.Count(); }

private:
    HashTable<String, String> table_;
};

}  // namespace zel
