// zel.scr run from a test program, as the Screen Saver panel would start it,
// and the waiting that driving another process's windows needs.
#pragma once

#include <string>

#include "engine/os/win32/Windows.h"

namespace zel::test {

// Handles this thread's messages, so that windows of the other process that
// talk to ours are answered.
void PumpOwnMessages();

// Pumps and polls until `ready()` or `milliseconds` have passed; false on
// the time running out.
template <class Ready>
bool WaitFor(Ready ready, DWORD milliseconds = 30000) {
    const DWORD start = GetTickCount();
    while (!ready()) {
        if (GetTickCount() - start > milliseconds) return false;
        PumpOwnMessages();
        Sleep(20);
    }
    return true;
}

// One run of zel.scr with the given arguments; it inherits this process's
// environment (set ZEL_* variables before starting it) and, under Wine, its
// language and code pages, whatever locale variables the environment holds. A run still going
// when the object goes is terminated.
class SaverProcess {
public:
    explicit SaverProcess(const std::string& arguments);
    ~SaverProcess();

    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return process_.dwProcessId; }
    bool HasExited() const;
    // The exit code once the process has ended, or -1 when it does not end
    // within `milliseconds`.
    int Finish(DWORD milliseconds = 30000);
    // Its first visible top-level window without an owner, or null.
    HWND MainWindow() const;

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

}  // namespace zel::test
