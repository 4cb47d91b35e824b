#include "tools/common/StderrMessageOutput.h"

#include <cstdio>

#include "engine/core/Log.h"
#include "tools/common/Cp1251Text.h"

namespace zel {

StderrMessageOutput::StderrMessageOutput(const char* programName) : MessageOutput(String(programName)) {}

void StderrMessageOutput::Output(int32_t level, const String& text) {
    if (level == kLogInfo) return;
    const char* kind = level == kLogWarning ? "warning" : "error";
    std::fprintf(stderr, "%s: %s: %s\n", GetName().CStr(), kind, Cp1251ToUtf8(text.CStr()).c_str());
}

}  // namespace zel
