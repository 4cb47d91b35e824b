// The narrow set of display and window calls the system window is built on.
// engine/platform/win32/ implements it with the Win32 calls; tests drive
// SystemWindow through a fake.
#pragma once

#include <cstdint>

#include "engine/core/String.h"

namespace zel {

// Display-device state flags, with the system's values.
constexpr uint32_t kDisplayDevicePrimary = 0x4;
constexpr uint32_t kDisplayDeviceMirroring = 0x8;

// Mode-change flag that makes the system put the mode back if the process
// ends without restoring it.
constexpr uint32_t kModeChangeFullScreen = 4;

struct DisplayDevice {
    String name;
    uint32_t stateFlags = 0;
};

struct DisplayMode {
    int32_t index = -1;  // enumeration index; -1 the current mode
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
};

struct WindowRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const WindowRect&) const = default;
};

enum class WindowKind {
    kChild,       // fills its parent's client area
    kOverlapped,  // a normal framed window; the rectangle is its client area
    kPopup,       // borderless, covering a monitor switched to the requested mode
    kCover,       // borderless, black and above other programs' windows, covering a
                  // monitor left in its own mode
};

struct WindowRequest {
    WindowKind kind = WindowKind::kOverlapped;
    const char* className = "";
    const char* title = "";
    WindowRect rect;
    // The parent of a child, else the owner (null for none).
    void* parent = nullptr;
};

class DisplaySystem {
public:
    virtual ~DisplaySystem() = default;

    // The index-th display device (device null) or the index-th monitor of
    // the named device; false past the last one.
    virtual bool EnumerateDevice(const char* device, uint32_t index, DisplayDevice* out) = 0;
    // The device's current mode (index -1), with its desktop position.
    virtual bool GetCurrentMode(const char* device, DisplayMode* mode) = 0;
    // The device's index-th mode; false past the last one.
    virtual bool EnumerateMode(const char* device, uint32_t index, DisplayMode* mode) = 0;
    // Switches the device to an enumerated mode; a null mode puts back the
    // mode the system has on record.
    virtual bool ChangeMode(const char* device, const DisplayMode* mode, uint32_t flags) = 0;
    // True when some monitor intersects the rectangle.
    virtual bool HasMonitor(const WindowRect& rect) = 0;

    virtual bool RegisterWindowClass(const char* className) = 0;
    virtual bool UnregisterWindowClass(const char* className) = 0;
    virtual bool GetClientArea(void* window, WindowRect* rect) = 0;
    // The new window's handle, or null. Destroying a window destroys the
    // windows it owns and its children.
    virtual void* NewWindow(const WindowRequest& request) = 0;
    virtual bool DeleteWindow(void* window) = 0;
    virtual bool WindowExists(void* window) = 0;
};

}  // namespace zel
