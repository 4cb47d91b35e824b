// The key/value text of the program's settings and message resources:
// Windows-1251 lines ending in CR, LF or both; blank lines and lines that
// start with ';' are skipped; a ';' later in a line starts a comment; the
// key is what stands before the first " = ", the value everything after it,
// verbatim. A line without " = " gives an empty key and an empty value.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/core/String.h"

namespace zel {

struct SettingsLine {
    String key;
    String value;
    String content;  // the whole line without its comment, for error messages
};

// Calls visit for every line in order; stops at the first line for which it
// returns false, and returns false then.
bool ForEachSettingsLine(const char* text, uint32_t size, const std::function<bool(const SettingsLine&)>& visit);

}  // namespace zel
