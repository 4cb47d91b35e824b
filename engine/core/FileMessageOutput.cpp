#include "engine/core/FileMessageOutput.h"

namespace zel {

namespace {
const char* LinePrefixFormat(int32_t level) {
    switch (level) {
    case 0: return "INFO. %s\n";
    case 1: return "WARNING. %s\n";
    case 2: return "ERROR. %s\n";
    case 3: return "CRITICAL ERROR. %s\n";
    default: return "UNKNOWN. %s\n";
    }
}
}  // namespace

FileMessageOutput::FileMessageOutput(const String& fileName, const String& name)
    : MessageOutput(name.IsEmpty() ? fileName : name) {
    if (!fileName.IsEmpty()) file_ = std::fopen(fileName.CStr(), "w");
}

FileMessageOutput::~FileMessageOutput() {
    if (file_ != nullptr) std::fclose(file_);
}

void FileMessageOutput::Output(int32_t level, const String& text) {
    if (file_ != nullptr) std::fprintf(file_, LinePrefixFormat(level), text.CStr());
}

}  // namespace zel
