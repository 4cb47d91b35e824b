#include "support/RecordingOutput.h"

#include "engine/core/Log.h"

namespace zel::test {

bool RecordingOutput::Contains(int32_t level, const std::string& fragment) const {
    for (const LoggedLine& line : lines)
        if (line.level == level && line.text.find(fragment) != std::string::npos) return true;
    return false;
}

bool RecordingOutput::Contains(const std::string& fragment) const {
    for (const LoggedLine& line : lines)
        if (line.text.find(fragment) != std::string::npos) return true;
    return false;
}

LogCapture::LogCapture() : output_(new RecordingOutput()) {
    RegisterMessageOutput(output_);
    output_->lines.clear();
}

LogCapture::~LogCapture() { UnregisterMessageOutput(output_); }

}  // namespace zel::test
