// A message output that keeps every line it receives, for tests that check
// what was logged. Register it with LogCapture to scope it to a test.
#pragma once

#include <string>
#include <vector>

#include "engine/core/MessageOutput.h"
#include "engine/core/Pointer.h"

namespace zel::test {

struct LoggedLine {
    int32_t level;
    std::string text;
};

class RecordingOutput : public MessageOutput {
public:
    explicit RecordingOutput(const char* name = "recording") : MessageOutput(String(name)) {}
    void Output(int32_t level, const String& text) override { lines.push_back({level, text.CStr()}); }
    // True when some line at `level` contains `fragment`.
    bool Contains(int32_t level, const std::string& fragment) const;
    bool Contains(const std::string& fragment) const;

    std::vector<LoggedLine> lines;
};

// Registers a fresh RecordingOutput for its lifetime.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    RecordingOutput& operator*() const { return *output_; }
    RecordingOutput* operator->() const { return output_.Get(); }
    // Drops what was recorded so far.
    void Clear() { output_->lines.clear(); }

private:
    Pointer<RecordingOutput> output_;
};

}  // namespace zel::test
