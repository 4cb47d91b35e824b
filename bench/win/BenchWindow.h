// The window the Windows benchmarks draw in: a plain overlapped window made
// through the engine's window-system seam, and the renderer's windowed mode.
#pragma once

#include "engine/os/win32/Windows.h"

#include "engine/render/DisplayModeEntry.h"
#include "engine/render/Renderer.h"
#include "engine/render/WindowSystem.h"

namespace zel {

inline LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class BenchWindowSystem : public WindowSystem {
public:
    int32_t OpenSystemWindow(void** window, const char* title, void*, bool, int32_t, int32_t x, int32_t y,
                             int32_t width, int32_t height) override {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = BenchWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZelBench";
        RegisterClassA(&windowClass);
        *window = CreateWindowA("ZelBench", title, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
        return *window != nullptr ? 0 : 1;
    }
    int32_t CloseSystemWindow(void* window) override { return DestroyWindow(static_cast<HWND>(window)) ? 0 : 1; }
};

// A windowed 32-bit mode with a depth buffer and no multisampling; -1 when
// the device offers none.
inline int32_t WindowedMode(const Renderer& renderer) {
    for (int32_t i = 0; i < renderer.GetDisplayModeCount(); ++i) {
        const DisplayModeEntry* mode = renderer.GetDisplayMode(i);
        if (!mode->fullScreen && mode->colorBits == 32 && mode->depthBits >= 16 && mode->multisampleIndex == 1)
            return i;
    }
    return -1;
}

}  // namespace zel
