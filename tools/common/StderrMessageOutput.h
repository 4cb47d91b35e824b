// Message output of the command-line tools: warnings and errors go to the
// standard error stream in UTF-8; informational lines are dropped.
#pragma once

#include "engine/core/MessageOutput.h"

namespace zel {

class StderrMessageOutput : public MessageOutput {
public:
    explicit StderrMessageOutput(const char* programName);
    void Output(int32_t level, const String& text) override;
};

}  // namespace zel
