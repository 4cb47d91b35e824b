#include "engine/platform/SystemWindow.h"

#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/platform/InputManager.h"
#include "engine/resources/PathText.h"

namespace zel {

namespace {

bool Matches(const DisplayMode& mode, const DisplayMode& wanted) {
    return mode.x == wanted.x && mode.y == wanted.y && mode.width == wanted.width && mode.height == wanted.height &&
           mode.bitsPerPixel == wanted.bitsPerPixel;
}

bool IsMirroring(const DisplayDevice& device) { return (device.stateFlags & kDisplayDeviceMirroring) != 0; }

}  // namespace

int32_t SystemWindow::CreateSystemWindow(void** window, const char* title, void* parentWindow, bool fullScreen,
                                         int32_t bitsPerPixel, int32_t x, int32_t y, int32_t width,
                                         int32_t height) {
    if (title == nullptr) title = "";
    LogInfo("Создание системного окна [%s].", title);
    if (window == nullptr) {
        LogError("Указатель на окно равен 0.");
        return kInvalidArgument;
    }
    className_ = ConcatStrings(String(title), String(), " Class");
    if (!display_.RegisterWindowClass(className_.CStr())) {
        LogError("Невозможно зарегестрировать класс окна [%s].", className_.CStr());
        return kFailed;
    }
    if (parentWindow != nullptr) return CreateChild(title, parentWindow);

    DisplayMode wanted;
    wanted.x = x;
    wanted.y = y;
    wanted.width = width;
    wanted.height = height;
    wanted.bitsPerPixel = bitsPerPixel;
    void* mainWindow = nullptr;
    if (CreateOnEveryMonitor(Request{title, fullScreen, wanted}, &mainWindow) != kOk) {
        // Destroying the main window takes the windows it owns with it.
        DestroySystemWindow(mainWindow);
        LogError("Невозможно создать окно [%s].", title);
        return kFailed;
    }
    if (mainWindow == nullptr) {
        DestroySystemWindow(nullptr);
        return kOk;
    }
    *window = mainWindow;
    return kOk;
}

int32_t SystemWindow::CreateChild(const char* title, void* parentWindow) {
    WindowRequest request;
    request.kind = WindowKind::kChild;
    request.className = className_.CStr();
    request.title = title;
    request.parent = parentWindow;
    if (!display_.GetClientArea(parentWindow, &request.rect) || display_.NewWindow(request) == nullptr) {
        DestroySystemWindow(nullptr);
        LogError("Невозможно создать окно [%s].", title);
        return kFailed;
    }
    return kOk;
}

// 0 when every monitor has been dealt with; 1 on a monitor off the desktop
// or a framed window that could not be made. *mainWindow holds the first
// window made, failure or not.
int32_t SystemWindow::CreateOnEveryMonitor(const Request& request, void** mainWindow) {
    GrowableArray<uint32_t> withoutMode(4, 4);
    DisplayDevice device;
    for (uint32_t index = 0; display_.EnumerateDevice(nullptr, index, &device); ++index) {
        // A mirroring driver repeats another device's picture: it has no
        // monitor of its own to cover, wherever the system lists it.
        if (IsMirroring(device)) continue;
        WindowRect monitor;
        const Monitor found = FindMonitor(device, &monitor);
        if (found == Monitor::kNone) continue;
        if (found == Monitor::kOffDesktop) return kFailed;
        if (request.fullScreen) {
            if (!SwitchAndCover(device, monitor, request, mainWindow)) withoutMode.Append(index);
            continue;
        }
        WindowRequest framed;
        framed.className = className_.CStr();
        framed.title = request.title;
        framed.rect = WindowRect{request.mode.x, request.mode.y, request.mode.x + request.mode.width,
                                 request.mode.y + request.mode.height};
        framed.parent = *mainWindow;
        void* created = display_.NewWindow(framed);
        if (created == nullptr) return kFailed;
        if (*mainWindow == nullptr) *mainWindow = created;
    }
    // Only once some monitor shows the mode is there a show to black out
    // the others for, and a main window to own their covers.
    if (*mainWindow != nullptr) BlackOut(withoutMode, request.title, *mainWindow);
    return kOk;
}

// Tries the device's modes that match the request in their order until one
// can be set and covered by a window. False when none could.
bool SystemWindow::SwitchAndCover(const DisplayDevice& device, const WindowRect& monitor, const Request& request,
                                  void** mainWindow) {
    DisplayMode mode;
    for (uint32_t index = 0; display_.EnumerateMode(device.name.CStr(), index, &mode); ++index) {
        if (!Matches(mode, request.mode)) continue;
        if (!display_.ChangeMode(device.name.CStr(), &mode, kModeChangeFullScreen)) continue;
        WindowRequest popup;
        popup.kind = WindowKind::kPopup;
        popup.className = className_.CStr();
        popup.title = request.title;
        // The monitor's place on the desktop, at the size of its new mode.
        popup.rect = WindowRect{monitor.left, monitor.top, monitor.left + mode.width, monitor.top + mode.height};
        popup.parent = *mainWindow;
        void* created = display_.NewWindow(popup);
        if (created == nullptr) continue;
        if (*mainWindow == nullptr) *mainWindow = created;
        return true;
    }
    return false;
}

// Covers each of the devices (enumeration indexes) at its desktop rectangle
// as it is now, after the other monitors' changes, without touching its
// mode. A cover is no part of the show: one that cannot be made is noted
// and its monitor stays bare.
void SystemWindow::BlackOut(const GrowableArray<uint32_t>& devices, const char* title, void* mainWindow) {
    for (const uint32_t index : devices) {
        DisplayDevice device;
        WindowRequest cover;
        if (!display_.EnumerateDevice(nullptr, index, &device) ||
            FindMonitor(device, &cover.rect) != Monitor::kAttached)
            continue;
        cover.kind = WindowKind::kCover;
        cover.className = className_.CStr();
        cover.title = title;
        cover.parent = mainWindow;
        if (display_.NewWindow(cover) == nullptr) LogWarning("Монитор [%s] не закрыт окном.", device.name.CStr());
    }
}

// A device without a monitor, or whose mode cannot be read, is not part of
// the desktop and is passed over.
SystemWindow::Monitor SystemWindow::FindMonitor(const DisplayDevice& device, WindowRect* rect) {
    DisplayDevice monitor;
    DisplayMode current;
    if (!display_.EnumerateDevice(device.name.CStr(), 0, &monitor) ||
        !display_.GetCurrentMode(device.name.CStr(), &current))
        return Monitor::kNone;
    if ((device.stateFlags & kDisplayDevicePrimary) != 0)
        *rect = WindowRect{0, 0, current.width, current.height};
    else
        *rect = WindowRect{current.x, current.y, current.x + current.width, current.y + current.height};
    return display_.HasMonitor(*rect) ? Monitor::kAttached : Monitor::kOffDesktop;
}

int32_t SystemWindow::DestroySystemWindow(void* window) {
    LogError("SYSTEM DESTROY!!!");
    bool windowRemoved = true;
    if (window != nullptr) {
        // A window the user closed is gone already: the default handling of
        // the close message destroys it.
        if (display_.WindowExists(window) && !display_.DeleteWindow(window)) {
            LogError("Невозможно удалить системное окно.");
            windowRemoved = false;
        } else {
            LogInfo("PROCESS INPUT!!!");
            ProcessInput();
        }
    } else {
        LogWarning("Указатель на окно равен 0.");
    }
    RestoreModes();
    // The class stays while a window of it remains.
    if (!windowRemoved) return kFailed;
    if (!display_.UnregisterWindowClass(className_.CStr())) {
        LogError("Невозможно разрегестрировать класс системного окна.");
        return kFailed;
    }
    className_ = String();
    return kOk;
}

void SystemWindow::RestoreModes() {
    DisplayDevice device;
    for (uint32_t index = 0; display_.EnumerateDevice(nullptr, index, &device); ++index) {
        WindowRect monitor;
        if (IsMirroring(device) || FindMonitor(device, &monitor) == Monitor::kAttached)
            display_.ChangeMode(device.name.CStr(), nullptr, 0);
    }
}

}  // namespace zel
