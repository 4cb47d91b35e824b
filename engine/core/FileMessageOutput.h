// Message output writing one prefixed line per message to a text file. The
// file is bounded: a warning or error text is written at most kMaxRepeats
// times (then once a note that its repeats are dropped), and the file stops
// at kMaxFileBytes with a last line saying it was cut.
#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/core/MessageOutput.h"
#include "engine/core/RepeatCounter.h"

namespace zel {

class FileMessageOutput : public MessageOutput {
public:
    static constexpr int32_t kMaxRepeats = 20;
    static constexpr int64_t kMaxFileBytes = 16 * 1024 * 1024;
    // Written after the last allowed copy of a repeating text.
    static constexpr const char* kRepeatNote = "… (further repeats of this message are not logged)";
    // The file's last line once the size limit is reached.
    static constexpr const char* kCutLine = "Лог обрезан: файл достиг предельного размера 16 МиБ.";

    // Named `name`, or `fileName` when name is empty. A non-empty fileName is
    // opened for writing (truncated); a failed open leaves the output silent.
    FileMessageOutput(const String& fileName, const String& name);
    ~FileMessageOutput() override;

    void Output(int32_t level, const String& text) override;
    bool IsOpen() const { return file_ != nullptr; }
    // True once the size limit was reached; nothing is written after that.
    bool IsCut() const { return cut_; }

private:
    // Writes one line unless it would leave no room for the cut line, in
    // which case the cut line ends the file.
    void WriteLine(int32_t level, const char* text);

    std::FILE* file_ = nullptr;  // owned; null when no file is open
    RepeatCounter repeats_;
    // Bytes written so far, counting each line end as two (CR LF in
    // Windows text mode), so the limit holds on every system.
    int64_t written_ = 0;
    bool cut_ = false;
};

}  // namespace zel
