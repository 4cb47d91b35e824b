#include "engine/platform/win32/Win32DisplaySystem.h"

#include <cstring>

#include "engine/os/win32/Windows.h"
#include "engine/platform/win32/WindowProcedure.h"

namespace zel {

namespace {

// A framed window's picture reaches its frame: no sunken client edge eats
// into the area the device draws.
constexpr DWORD kFramedExStyle = WS_EX_WINDOWEDGE;

bool ReadMode(const char* device, DWORD index, DisplayMode* mode) {
    DEVMODEA record{};
    record.dmSize = sizeof(record);
    if (!EnumDisplaySettingsA(device, index, &record)) return false;
    mode->index = static_cast<int32_t>(index);
    mode->x = record.dmPosition.x;
    mode->y = record.dmPosition.y;
    mode->width = static_cast<int32_t>(record.dmPelsWidth);
    mode->height = static_cast<int32_t>(record.dmPelsHeight);
    mode->bitsPerPixel = static_cast<int32_t>(record.dmBitsPerPel);
    return true;
}

RECT ToRect(const WindowRect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

bool Win32DisplaySystem::EnumerateDevice(const char* device, uint32_t index, DisplayDevice* out) {
    DISPLAY_DEVICEA record{};
    record.cb = sizeof(record);  // 424 bytes
    if (!EnumDisplayDevicesA(device, index, &record, 0)) return false;
    out->name = String(record.DeviceName, static_cast<int32_t>(strnlen(record.DeviceName, sizeof(record.DeviceName))));
    out->stateFlags = record.StateFlags;
    return true;
}

bool Win32DisplaySystem::GetCurrentMode(const char* device, DisplayMode* mode) {
    return ReadMode(device, ENUM_CURRENT_SETTINGS, mode);
}

bool Win32DisplaySystem::EnumerateMode(const char* device, uint32_t index, DisplayMode* mode) {
    return ReadMode(device, index, mode);
}

bool Win32DisplaySystem::ChangeMode(const char* device, const DisplayMode* mode, uint32_t flags) {
    DEVMODEA record{};
    record.dmSize = sizeof(record);
    if (mode != nullptr && !EnumDisplaySettingsA(device, static_cast<DWORD>(mode->index), &record)) return false;
    return ChangeDisplaySettingsExA(device, mode != nullptr ? &record : nullptr, nullptr, flags, nullptr) ==
           DISP_CHANGE_SUCCESSFUL;
}

bool Win32DisplaySystem::HasMonitor(const WindowRect& rect) {
    const RECT area = ToRect(rect);
    return MonitorFromRect(&area, MONITOR_DEFAULTTONULL) != nullptr;
}

bool Win32DisplaySystem::RegisterWindowClass(const char* className) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &SystemWindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

bool Win32DisplaySystem::UnregisterWindowClass(const char* className) {
    return UnregisterClassA(className, GetModuleHandleA(nullptr)) != 0;
}

bool Win32DisplaySystem::GetClientArea(void* window, WindowRect* rect) {
    RECT area;
    if (!::GetClientRect(static_cast<HWND>(window), &area)) return false;
    *rect = WindowRect{area.left, area.top, area.right, area.bottom};
    return true;
}

void* Win32DisplaySystem::NewWindow(const WindowRequest& request) {
    RECT area = ToRect(request.rect);
    DWORD style = WS_POPUP | WS_VISIBLE;
    DWORD exStyle = 0;
    if (request.kind == WindowKind::kChild) {
        style = WS_CHILD | WS_VISIBLE;
        AdjustWindowRect(&area, style, FALSE);
    } else if (request.kind == WindowKind::kOverlapped) {
        style = WS_OVERLAPPED | WS_VISIBLE;
        exStyle = kFramedExStyle;
        // The system gives an overlapped window a caption whatever its
        // style says: the rectangle grows by it and the edges, so the
        // client area keeps the requested size.
        AdjustWindowRectEx(&area, style | WS_CAPTION, FALSE, exStyle);
    } else if (request.kind == WindowKind::kCover) {
        // Above the monitor's task bar; the class's brush paints it black.
        exStyle = WS_EX_TOPMOST;
    }
    return CreateWindowExA(exStyle, request.className, request.title, style, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, static_cast<HWND>(request.parent),
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

bool Win32DisplaySystem::DeleteWindow(void* window) { return ::DestroyWindow(static_cast<HWND>(window)) != 0; }

bool Win32DisplaySystem::WindowExists(void* window) { return ::IsWindow(static_cast<HWND>(window)) != 0; }

}  // namespace zel
