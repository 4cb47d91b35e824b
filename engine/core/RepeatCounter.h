// Counts how often each warning or error text was reported, so that a log
// output can stop writing a message that repeats every frame.
#pragma once

#include <cstdint>

#include "engine/core/HashTable.h"
#include "engine/core/String.h"

namespace zel {

class RepeatCounter {
public:
    // The count of `text` at `level` including this report; 0 for levels that
    // are not counted (INFO, CRITICAL ERROR, unknown) and when the table has
    // no memory left, so such texts are always written.
    int32_t Count(int32_t level, const String& text);

private:
    // Spreads texts that differ only in their first bytes (the engine's name
    // hash leaves the first byte out).
    struct TextHash {
        uint32_t operator()(const String& key) const;
    };

    HashTable<String, int32_t, TextHash> counts_{true};
};

}  // namespace zel
