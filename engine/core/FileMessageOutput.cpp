#include "engine/core/FileMessageOutput.h"

#include <cstring>

#include "engine/core/Log.h"

namespace zel {

namespace {

const char* LinePrefix(int32_t level) {
    switch (level) {
    case kLogInfo: return "INFO. ";
    case kLogWarning: return "WARNING. ";
    case kLogError: return "ERROR. ";
    case kLogCritical: return "CRITICAL ERROR. ";
    default: return "UNKNOWN. ";
    }
}

// The bytes a line takes in the file, with every line end counted as CR LF.
int64_t LineBytes(int32_t level, const char* text) {
    int64_t bytes = static_cast<int64_t>(std::strlen(LinePrefix(level)) + std::strlen(text)) + 2;
    for (const char* c = text; *c != '\0'; ++c) bytes += *c == '\n';
    return bytes;
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
    if (file_ == nullptr || cut_) return;
    const int32_t seen = repeats_.Count(level, text);
    if (seen > kMaxRepeats) return;
    WriteLine(level, text.CStr());
    if (seen == kMaxRepeats) WriteLine(level, kRepeatNote);
}

void FileMessageOutput::WriteLine(int32_t level, const char* text) {
    if (cut_) return;
    const int64_t bytes = LineBytes(level, text);
    if (written_ + bytes > kMaxFileBytes - LineBytes(kLogWarning, kCutLine)) {
        std::fprintf(file_, "%s%s\n", LinePrefix(kLogWarning), kCutLine);
        std::fflush(file_);
        cut_ = true;
        return;
    }
    std::fprintf(file_, "%s%s\n", LinePrefix(level), text);
    written_ += bytes;
}

}  // namespace zel
