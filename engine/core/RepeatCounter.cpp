#include "engine/core/RepeatCounter.h"

#include "engine/core/Log.h"

namespace zel {

uint32_t RepeatCounter::TextHash::operator()(const String& key) const {
    // FNV-1a over every byte.
    uint32_t h = 2166136261u;
    for (int32_t i = 0; i < key.Length(); ++i) h = (h ^ static_cast<uint8_t>(key[i])) * 16777619u;
    return h;
}

int32_t RepeatCounter::Count(int32_t level, const String& text) {
    if (level != kLogWarning && level != kLogError) return 0;
    if (int32_t* count = counts_.Find(text)) {
        // Saturates: a message that repeats for days must not wrap to 0.
        if (*count < INT32_MAX) ++*count;
        return *count;
    }
    return counts_.Insert(text, 1) == kOk ? 1 : 0;
}

}  // namespace zel
