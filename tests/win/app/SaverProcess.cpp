#include "SaverProcess.h"

namespace zel::test {

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK TakeMainWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

void PumpOwnMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

SaverProcess::SaverProcess(const std::string& arguments) {
    std::string line = "\"" ZEL_SCR_PATH "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_) != 0;
}

SaverProcess::~SaverProcess() {
    if (!started_) return;
    if (!HasExited()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool SaverProcess::HasExited() const {
    return started_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

int SaverProcess::Finish(DWORD milliseconds) {
    if (!started_ || !WaitFor([this] { return HasExited(); }, milliseconds)) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

HWND SaverProcess::MainWindow() const {
    WindowSearch search{process_.dwProcessId, nullptr};
    if (started_) EnumWindows(&TakeMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace zel::test
