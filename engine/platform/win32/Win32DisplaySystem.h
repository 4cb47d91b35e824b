// The display and window calls of the system window, made with Win32.
#pragma once

#include "engine/platform/DisplaySystem.h"

namespace zel {

class Win32DisplaySystem : public DisplaySystem {
public:
    bool EnumerateDevice(const char* device, uint32_t index, DisplayDevice* out) override;
    bool GetCurrentMode(const char* device, DisplayMode* mode) override;
    bool EnumerateMode(const char* device, uint32_t index, DisplayMode* mode) override;
    bool ChangeMode(const char* device, const DisplayMode* mode, uint32_t flags) override;
    bool HasMonitor(const WindowRect& rect) override;
    bool RegisterWindowClass(const char* className) override;
    bool UnregisterWindowClass(const char* className) override;
    bool GetClientArea(void* window, WindowRect* rect) override;
    void* NewWindow(const WindowRequest& request) override;
    bool DeleteWindow(void* window) override;
    bool WindowExists(void* window) override;
};

}  // namespace zel
