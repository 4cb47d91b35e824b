// A display made of plain data for driving SystemWindow natively: devices
// with their monitors and modes, windows as numbered records. Every call that
// changes something is written to `calls`, in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/DisplaySystem.h"

namespace zel::test {

struct FakeDevice {
    std::string name;
    uint32_t stateFlags = 0;
    bool hasMonitor = true;
    bool onDesktop = true;  // some monitor intersects its rectangle
    DisplayMode current;
    std::vector<DisplayMode> modes;
};

struct FakeWindow {
    WindowRequest request;  // the class name and title are not kept
    bool alive = true;
};

class FakeDisplaySystem : public DisplaySystem {
public:
    // A window handle is its number, counted from 1; the parent window given
    // to children is kParent.
    static void* Handle(int number) { return reinterpret_cast<void*>(static_cast<intptr_t>(number)); }
    static constexpr intptr_t kParent = 100;

    bool EnumerateDevice(const char* device, uint32_t index, DisplayDevice* out) override {
        if (device != nullptr) {
            const FakeDevice* found = Find(device);
            if (found == nullptr || !found->hasMonitor || index != 0) return false;
            out->name = "Monitor";
            return true;
        }
        if (index >= devices.size()) return false;
        out->name = devices[index].name.c_str();
        out->stateFlags = devices[index].stateFlags;
        return true;
    }
    bool GetCurrentMode(const char* device, DisplayMode* mode) override {
        const FakeDevice* found = Find(device);
        if (found == nullptr) return false;
        *mode = found->current;
        return true;
    }
    bool EnumerateMode(const char* device, uint32_t index, DisplayMode* mode) override {
        const FakeDevice* found = Find(device);
        if (found == nullptr || index >= found->modes.size()) return false;
        *mode = found->modes[index];
        mode->index = static_cast<int32_t>(index);
        return true;
    }
    bool ChangeMode(const char* device, const DisplayMode* mode, uint32_t flags) override {
        if (mode == nullptr) {
            calls.push_back("restore " + std::string(device) + " flags " + std::to_string(flags));
            return true;
        }
        calls.push_back("mode " + std::string(device) + " #" + std::to_string(mode->index) + " flags " +
                        std::to_string(flags));
        return refusedModeIndex != mode->index;
    }
    bool HasMonitor(const WindowRect& rect) override {
        for (const FakeDevice& device : devices) {
            const DisplayMode& m = device.current;
            const bool primary = (device.stateFlags & kDisplayDevicePrimary) != 0;
            const WindowRect own = primary ? WindowRect{0, 0, m.width, m.height}
                                           : WindowRect{m.x, m.y, m.x + m.width, m.y + m.height};
            if (own == rect) return device.onDesktop;
        }
        return false;
    }
    bool RegisterWindowClass(const char* className) override {
        calls.push_back("register " + std::string(className));
        if (refuseClass || classRegistered) return false;
        classRegistered = true;
        return true;
    }
    bool UnregisterWindowClass(const char* className) override {
        calls.push_back("unregister " + std::string(className));
        if (refuseClassRemoval || !classRegistered) return false;
        classRegistered = false;
        return true;
    }
    bool GetClientArea(void* window, WindowRect* rect) override {
        if (window != Handle(kParent)) return false;
        *rect = WindowRect{0, 0, 320, 240};
        return true;
    }
    void* NewWindow(const WindowRequest& request) override {
        static const char* const kKinds[] = {"child", "overlapped", "popup", "cover"};
        const WindowRect& r = request.rect;
        std::string call = "window " + std::string(kKinds[static_cast<int>(request.kind)]) + " " +
                           std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
                           "," + std::to_string(r.bottom) + " parent " +
                           std::to_string(reinterpret_cast<intptr_t>(request.parent));
        if (++windowAttempts == failingWindowAttempt) {
            calls.push_back(call + " refused");
            return nullptr;
        }
        windows.push_back(FakeWindow{request, true});
        calls.push_back(call + " -> " + std::to_string(windows.size()));
        return Handle(static_cast<int>(windows.size()));
    }
    bool DeleteWindow(void* window) override {
        calls.push_back("delete " + std::to_string(reinterpret_cast<intptr_t>(window)));
        if (refuseWindowRemoval) return false;
        Kill(window);
        return true;
    }
    bool WindowExists(void* window) override {
        const intptr_t number = reinterpret_cast<intptr_t>(window);
        return number >= 1 && number <= static_cast<intptr_t>(windows.size()) && windows[number - 1].alive;
    }

    // Destroys the window and what it owns, as the system does.
    void Kill(void* window) {
        windows[reinterpret_cast<intptr_t>(window) - 1].alive = false;
        for (size_t i = 0; i < windows.size(); ++i)
            if (windows[i].alive && windows[i].request.parent == window) Kill(Handle(static_cast<int>(i + 1)));
    }
    int AliveWindows() const {
        int alive = 0;
        for (const FakeWindow& window : windows) alive += window.alive ? 1 : 0;
        return alive;
    }

    std::vector<FakeDevice> devices;
    std::vector<FakeWindow> windows;
    std::vector<std::string> calls;
    bool classRegistered = false;  // one class at a time is enough here
    bool refuseClass = false;
    bool refuseClassRemoval = false;
    bool refuseWindowRemoval = false;
    int refusedModeIndex = -2;       // the mode index whose change fails
    int failingWindowAttempt = 0;    // 1-based; 0 none
    int windowAttempts = 0;

private:
    const FakeDevice* Find(const char* name) const {
        for (const FakeDevice& device : devices)
            if (name != nullptr && device.name == name) return &device;
        return nullptr;
    }
};

}  // namespace zel::test
