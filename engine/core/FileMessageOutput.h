// Message output writing one prefixed line per message to a text file.
#pragma once

#include <cstdio>

#include "engine/core/MessageOutput.h"

namespace zel {

class FileMessageOutput : public MessageOutput {
public:
    // Named `name`, or `fileName` when name is empty. A non-empty fileName is
    // opened for writing (truncated); a failed open leaves the output silent.
    FileMessageOutput(const String& fileName, const String& name);
    ~FileMessageOutput() override;

    void Output(int32_t level, const String& text) override;
    bool IsOpen() const { return file_ != nullptr; }

private:
    std::FILE* file_ = nullptr;  // owned; null when no file is open
};

}  // namespace zel
