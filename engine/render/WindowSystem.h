// The system-window calls the renderer opens and closes its render window
// through. The interface lives here, with the renderer that needs it; the
// platform layer, above, implements it (engine/platform/SystemWindow) and,
// on Windows, installs it when the input manager initialises. Until one is
// installed, opening a window fails.
#pragma once

#include <cstdint>

namespace zel {

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Creates the window (full-screen: the display mode is changed to
    // width × height at bitsPerPixel). *window receives its handle; the
    // child form (a parent given) may succeed without one. 0 ok; 1 failed;
    // 3 null output. Failures are logged by the implementation.
    virtual int32_t OpenSystemWindow(void** window, const char* title, void* parentWindow, bool fullScreen,
                                     int32_t bitsPerPixel, int32_t x, int32_t y, int32_t width,
                                     int32_t height) = 0;
    // Destroys the window (null: only restores the display modes). 0 ok;
    // 1 failed.
    virtual int32_t CloseSystemWindow(void* window) = 0;
};

// The installed window system, or null. Not owning: the platform layer keeps
// it alive for as long as it is installed.
WindowSystem* GetWindowSystem();
void SetWindowSystem(WindowSystem* system);

}  // namespace zel
