#include "app/SettingsText.h"

#include <cstring>

namespace zel {

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

SettingsLine SplitLine(const char* content, uint32_t length) {
    SettingsLine line;
    line.content = String(content, static_cast<int32_t>(length));
    for (uint32_t i = 0; i + 3 <= length; ++i) {
        if (std::memcmp(content + i, " = ", 3) == 0) {
            line.key = String(content, static_cast<int32_t>(i));
            line.value = String(content + i + 3, static_cast<int32_t>(length - i - 3));
            break;
        }
    }
    return line;
}

}  // namespace

bool ForEachSettingsLine(const char* text, uint32_t size, const std::function<bool(const SettingsLine&)>& visit) {
    uint32_t at = 0;
    while (at < size) {
        uint32_t end = at;
        while (end < size && !IsLineEnd(text[end])) ++end;
        if (end > at && text[at] != ';') {
            uint32_t contentEnd = at;
            while (contentEnd < end && text[contentEnd] != ';') ++contentEnd;
            if (!visit(SplitLine(text + at, contentEnd - at))) return false;
        }
        at = end;
        while (at < size && IsLineEnd(text[at])) ++at;
    }
    return true;
}

}  // namespace zel
