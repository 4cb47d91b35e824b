// The screensaver's run modes and the reading of its command line.
#pragma once

#include <cstdint>

namespace zel {

enum class RunMode : int32_t {
    kPreview = 0,         // /p <hwnd>: a still picture in a child of that window
    kScreensaver = 1,     // /s and every unknown switch: the show, full screen
    kTest = 2,            // /t: the same as kScreensaver
    kConfigure = 3,       // /c <hwnd> or no switch: the settings dialog
    kPasswordChange = 4,  // /a <hwnd>: nothing runs
};

struct CommandLine {
    RunMode mode = RunMode::kConfigure;
    // The window handle given after /a, /c or /p; 0 when none.
    intptr_t parentWindow = 0;
};

// Reads the whole process command line, program name included (quoted or
// not). Never fails: a line without a switch gives kConfigure.
CommandLine ParseCommandLine(const char* line);

// Whether the mode runs the show (engine window, scene, frame loop).
inline bool RunsShow(RunMode mode) { return mode == RunMode::kScreensaver || mode == RunMode::kTest; }

}  // namespace zel
