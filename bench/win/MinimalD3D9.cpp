// The floor the screensaver's start-up and memory are measured against: a
// full-screen Direct3D 9 device in the desktop's mode that presents one
// cleared frame, then keeps presenting until SECONDS have passed.
//
//   zel-minimal-d3d9.exe MARKER [SECONDS]   (default 5)
//
// MARKER is a file made once the first frame is presented, so a script can
// time the start-up and read the process's memory while it runs.
#include <windows.h>

#include <d3d9.h>

#include <cstdio>
#include <cstdlib>

namespace {

LRESULT CALLBACK MinimalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND OpenWindow(int width, int height) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MinimalWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZelMinimalD3D9";
    RegisterClassA(&windowClass);
    return CreateWindowA("ZelMinimalD3D9", "minimal", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: zel-minimal-d3d9 MARKER [SECONDS]\n");
        return 2;
    }
    const DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 5;
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DDISPLAYMODE mode{};
    if (direct3d == nullptr || FAILED(direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) return 1;
    HWND window = OpenWindow(static_cast<int>(mode.Width), static_cast<int>(mode.Height));
    D3DPRESENT_PARAMETERS present{};
    present.BackBufferWidth = mode.Width;
    present.BackBufferHeight = mode.Height;
    present.BackBufferFormat = mode.Format;
    present.BackBufferCount = 1;
    present.SwapEffect = D3DSWAPEFFECT_DISCARD;
    present.hDeviceWindow = window;
    present.Windowed = FALSE;
    present.EnableAutoDepthStencil = TRUE;
    present.AutoDepthStencilFormat = D3DFMT_D24S8;
    present.FullScreen_RefreshRateInHz = mode.RefreshRate;
    present.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = nullptr;
    if (window == nullptr || FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                           D3DCREATE_HARDWARE_VERTEXPROCESSING, &present, &device))) {
        std::fprintf(stderr, "zel-minimal-d3d9: no device\n");
        return 1;
    }
    const DWORD start = GetTickCount();
    bool marked = false;
    do {
        Pump();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 64), 1.0f, 0);
        device->Present(nullptr, nullptr, nullptr, nullptr);
        if (!marked) {
            marked = true;
            if (FILE* marker = std::fopen(argv[1], "w")) std::fclose(marker);
        }
        Sleep(20);
    } while (GetTickCount() - start < seconds * 1000);
    device->Release();
    direct3d->Release();
    DestroyWindow(window);
    return 0;
}
