#include "app/win32/PreviewWindow.h"

#include "app/win32/ArchivePicture.h"
#include "app/win32/ScreensaverApp.h"

namespace zel {

namespace {

constexpr UINT_PTR kStartTimer = 1;

// Set while the first pump runs; the start timer clears it.
int32_t gPreviewPump = 0;

void StopApplication() {
    if (ScreensaverApp* app = ScreensaverApp::Get()) app->Stop();
}

LRESULT CALLBACK PreviewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_USER:
            SetTimer(window, kStartTimer, 500, nullptr);
            break;
        case WM_TIMER:
            gPreviewPump = 0;
            KillTimer(window, kStartTimer);
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(window, &paint);
            PaintArchivePicture("preview.bmp", window, dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_NEXTWINDOW:
                case SC_PREVWINDOW:
                case SC_CLOSE:
                    StopApplication();
                    return 1;
                case SC_SCREENSAVE:
                    return 0;
                default:
                    break;
            }
            break;
        case WM_DESTROY:
        case WM_CLOSE:
        case WM_QUIT:
            StopApplication();
            return 1;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND CreatePreviewWindow(HINSTANCE instance, const char* className, HWND parent) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &PreviewProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    RECT area{100, 100, 150, 150};
    if (parent != nullptr && !GetClientRect(parent, &area)) parent = nullptr;
    const DWORD style = WS_CHILD | WS_VISIBLE;
    AdjustWindowRect(&area, style, FALSE);
    return CreateWindowExA(0, className, className, style, area.left, area.top, area.right - area.left,
                           area.bottom - area.top, parent, nullptr, instance, nullptr);
}

HWND CreatePreviewHost(HINSTANCE instance, const WindowRect& rect) {
    // A static control needs no class of its own; closing it (WM_CLOSE)
    // destroys the preview with it, which ends the run as the panel would.
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
}

void PumpPreview(HWND window, bool& running) {
    gPreviewPump = 1;
    PostMessageA(window, WM_USER, 0, 0);
    MSG message{};
    while (gPreviewPump != 0) {
        const BOOL got = GetMessageA(&message, window, 0, 0);
        if (got == 0 || got == -1) {
            PostQuitMessage(0);
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    while (running) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        // Waits for the next message instead of spinning a core.
        if (running) WaitMessage();
    }
}

}  // namespace zel
