// The process entry of zel.scr: announces the running screensaver, opens the
// log in the user's application-data folder, and runs the application's
// three phases.
#include <cwchar>
#include <exception>
#include <shlobj.h>

#include "app/RunMode.h"
#include "app/win32/SceneScreensaverApp.h"
#include "engine/core/FileMessageOutput.h"
#include "engine/core/Log.h"
#include "engine/core/Pointer.h"

namespace {

// "<application data>\Velkor Studio\<name>" in the ANSI code page; an
// empty string when the folder is unknown.
zel::String LogFilePath(const wchar_t* name) {
    LPITEMIDLIST folder = nullptr;
    wchar_t path[MAX_PATH + 32] = L"";
    if (SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &folder) != S_OK) return zel::String();
    const BOOL found = SHGetPathFromIDListW(folder, path);
    CoTaskMemFree(folder);
    if (!found) return zel::String();
    std::wcsncat(path, L"\\Velkor Studio", 15);
    CreateDirectoryW(path, nullptr);
    std::wcsncat(path, L"\\", 2);
    std::wcsncat(path, name, 32);
    char narrow[2 * MAX_PATH + 64] = "";
    if (WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, sizeof narrow, nullptr, nullptr) == 0) return zel::String();
    return zel::String(narrow);
}

int RunApplication(zel::Pointer<zel::MessageOutput>& log) {
    // The panel keeps the preview running while it starts the show or the
    // dialog beside it: the preview writes a log of its own.
    const bool preview = zel::ParseCommandLine(GetCommandLineA()).mode == zel::RunMode::kPreview;
    const zel::String path = LogFilePath(preview ? L"ZelLogPreview.txt" : L"ZelLog.txt");
    if (!path.IsEmpty()) {
        log = new zel::FileMessageOutput(path, zel::String());
        zel::RegisterMessageOutput(log);
    }
    zel::Pointer<zel::ScreensaverApp> app = new zel::SceneScreensaverApp();
    if (app->SelectModeAndStart(GetCommandLineA()) != 0) {
        zel::LogError("Невозможно создать скринсейвер.");
    } else {
        zel::LogInfo("Сейвер создан.");
        if (app->Run() != 0)
            zel::LogError("Работа скринсейвера завершена некорректно.");
        else
            zel::LogInfo("Работа скринсейвера завершена корректно.");
    }
    if (app->Shutdown() != 0) zel::LogError("Ошибка при окончании работы скринсейвера.");
    ShowCursor(TRUE);
    app = nullptr;
    zel::LogInfo("Конец лога.");
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
    zel::Pointer<zel::MessageOutput> log;
    int status = 0;
    try {
        status = RunApplication(log);
    } catch (...) {
        zel::LogError("Конец лога вследствии ошибки");
        if (log != nullptr) zel::UnregisterMessageOutput(log);
        status = 1;
    }
    // Cleared again, so the system does not think a saver is still running.
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
    return status;
}
