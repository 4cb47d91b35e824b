// The engine's window: a child of a given window, one framed window per
// monitor, or full screen, where every monitor that has the requested mode is
// switched to it and covered with a borderless window, and every other
// monitor is blacked out in its own mode. Further windows are owned by the
// first (the main window). Destroying restores every monitor's mode.
#pragma once

#include <cstdint>

#include "engine/core/GrowableArray.h"
#include "engine/core/String.h"
#include "engine/platform/DisplaySystem.h"
#include "engine/render/WindowSystem.h"

namespace zel {

class SystemWindow : public WindowSystem {
public:
    // Not owning: the display calls outlive this object.
    explicit SystemWindow(DisplaySystem& display) : display_(display) {}

    // Registers the window class (title + " Class") and creates the windows.
    // Mirroring drivers are passed over. Full screen, a monitor without the
    // requested mode gets a black window over its desktop rectangle, made
    // after every other monitor and owned by the main window; a cover that
    // cannot be made only leaves its monitor bare. *window receives the main
    // window; it is left unchanged for a child and when no monitor has the
    // requested full-screen mode (then nothing is left behind and the result
    // is still 0). 0 ok; 3 null output; 1 failed, after tearing down whatever
    // was made (windows, modes, class).
    [[nodiscard]] int32_t CreateSystemWindow(void** window, const char* title, void* parentWindow, bool fullScreen,
                               int32_t bitsPerPixel, int32_t x, int32_t y, int32_t width, int32_t height);
    // Destroys the window (null: none; one already gone, e.g. closed by the
    // user, is not a failure), lets the input handlers see the destruction,
    // restores every monitor's mode and unregisters the class. 0 ok;
    // 1 the window or the class could not be removed (modes are restored
    // all the same).
    int32_t DestroySystemWindow(void* window);

    int32_t OpenSystemWindow(void** window, const char* title, void* parentWindow, bool fullScreen,
                             int32_t bitsPerPixel, int32_t x, int32_t y, int32_t width, int32_t height) override {
        return CreateSystemWindow(window, title, parentWindow, fullScreen, bitsPerPixel, x, y, width, height);
    }
    int32_t CloseSystemWindow(void* window) override { return DestroySystemWindow(window); }

private:
    enum class Monitor { kAttached, kNone, kOffDesktop };
    struct Request {
        const char* title;
        bool fullScreen;
        DisplayMode mode;  // the requested position, size and bits
    };

    [[nodiscard]] int32_t CreateChild(const char* title, void* parentWindow);
    [[nodiscard]] int32_t CreateOnEveryMonitor(const Request& request, void** mainWindow);
    bool SwitchAndCover(const DisplayDevice& device, const WindowRect& monitor, const Request& request,
                        void** mainWindow);
    void BlackOut(const GrowableArray<uint32_t>& devices, const char* title, void* mainWindow);
    Monitor FindMonitor(const DisplayDevice& device, WindowRect* rect);
    void RestoreModes();

    DisplaySystem& display_;
    String className_;  // between creation and destruction
};

}  // namespace zel
