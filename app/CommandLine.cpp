#include <cctype>
#include <cstdlib>
#include <cstring>

#include "app/RunMode.h"

namespace zel {

namespace {

// The text after the program name: past the closing quote of a quoted name,
// else past the first blank.
const char* SkipProgramName(const char* line) {
    if (*line == '"') {
        const char* closing = std::strchr(line + 1, '"');
        return closing != nullptr ? closing + 1 : line + std::strlen(line);
    }
    const char* blank = std::strchr(line, ' ');
    return blank != nullptr ? blank + 1 : line + std::strlen(line);
}

RunMode ModeOfSwitch(char letter) {
    switch (std::tolower(static_cast<unsigned char>(letter))) {
        case 'a': return RunMode::kPasswordChange;
        case 'c': return RunMode::kConfigure;
        case 'p': return RunMode::kPreview;
        case 't': return RunMode::kTest;
        default: return RunMode::kScreensaver;
    }
}

intptr_t FirstNumber(const char* text) {
    while (*text != '\0' && !std::isdigit(static_cast<unsigned char>(*text))) ++text;
    return *text != '\0' ? static_cast<intptr_t>(std::atoll(text)) : 0;
}

}  // namespace

CommandLine ParseCommandLine(const char* line) {
    CommandLine result;
    if (line == nullptr) return result;
    const char* rest = SkipProgramName(line);
    const char* sign = std::strpbrk(rest, "/-");
    if (sign == nullptr) return result;
    result.mode = ModeOfSwitch(sign[1]);
    if (result.mode == RunMode::kPasswordChange || result.mode == RunMode::kConfigure ||
        result.mode == RunMode::kPreview)
        result.parentWindow = FirstNumber(sign + 1);
    return result;
}

}  // namespace zel
