// The fixture of the Direct3D 9 renderer tests: a renderer with a windowed
// device on a plain test window, message boxes captured, and pixel
// read-back through a system-memory surface. Without a device the tests
// skip.
#pragma once

#include "engine/os/win32/Windows.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/Buffer.h"
#include "engine/math/Matrix4.h"
#include "engine/os/Os.h"
#include "engine/render/OcclusionQuery.h"
#include "engine/render/WindowSystem.h"
#include "engine/render/d3d9/D3D9ReadBack.h"
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/render/shader/PixelShader.h"
#include "engine/render/shader/VertexShader.h"
#include "engine/render/texture/CubeTexture.h"
#include "engine/render/texture/Texture.h"
#include "engine/render/texture/VolumeTexture.h"
#include "support/RecordingOutput.h"

namespace zel::test {


constexpr int32_t kWidth = 128;
constexpr int32_t kHeight = 96;
inline constexpr const char* kWindowClass = "ZelRendererTest";

inline LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// Plain overlapped windows, standing in for the system window.
class TestWindowSystem : public WindowSystem {
public:
    int32_t OpenSystemWindow(void** window, const char* title, void*, bool, int32_t, int32_t x, int32_t y,
                             int32_t width, int32_t height) override {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);
        *window = CreateWindowA(kWindowClass, title, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
        return *window != nullptr ? 0 : 1;
    }
    int32_t CloseSystemWindow(void* window) override {
        return window == nullptr || DestroyWindow(static_cast<HWND>(window)) ? 0 : 1;
    }
};

struct Rgba {
    int r, g, b, a;
};

inline ::testing::AssertionResult Near(Rgba actual, Rgba expected, int tolerance = 2) {
    if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance && std::abs(actual.a - expected.a) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << actual.r << ", " << actual.g << ", " << actual.b << ", "
                                         << actual.a << "), expected (" << expected.r << ", " << expected.g << ", "
                                         << expected.b << ", " << expected.a << ") within " << tolerance;
}

inline Rgba FromArgb(DWORD pixel) {
    return Rgba{static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                static_cast<int>(pixel & 0xFF), static_cast<int>(pixel >> 24)};
}

// An RGB image whose pixels all have one colour.
inline Image* SolidImage(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b) {
    Image* image = new Image(String("solid"), Image::kFormatRGB, width, height);
    for (int32_t i = 0; i < width * height; ++i) {
        image->GetData()[3 * i] = r;
        image->GetData()[3 * i + 1] = g;
        image->GetData()[3 * i + 2] = b;
    }
    return image;
}

// Message boxes the renderer shows; captured so that no box blocks a test.
inline std::vector<std::string> shownMessages;
inline void CaptureMessage(const char* text) { shownMessages.emplace_back(text); }

class D3D9RendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        shownMessages.clear();
        os::SetMessageBoxHook(CaptureMessage);
        SetWindowSystem(&windows_);
        renderer_ = new D3D9Renderer();
        if (renderer_->GetDirect3D() == nullptr) GTEST_SKIP() << "no Direct3D 9";
        const int32_t mode = WindowedMode();
        if (mode < 0) GTEST_SKIP() << "no windowed 32-bit mode with D24S8";
        if (renderer_->OpenWindow(mode, "Zel renderer test", nullptr, 0, 0, kWidth, kHeight) != 0)
            GTEST_SKIP() << "no device";
        device_ = renderer_->GetDevice();
    }

    void TearDown() override {
        if (renderer_ != nullptr && renderer_->IsWindowOpen()) {
            EXPECT_EQ(renderer_->CloseWindow(), 0);
        }
        renderer_ = nullptr;
        SetWindowSystem(nullptr);
        os::SetMessageBoxHook(nullptr);
    }

    int32_t WindowedMode() {
        for (int32_t i = 0; i < renderer_->GetDisplayModeCount(); ++i) {
            const DisplayModeEntry* mode = renderer_->GetDisplayMode(i);
            if (!mode->fullScreen && mode->colorBits == 32 && mode->alphaBits == 8 && mode->depthBits == 24 &&
                mode->stencilBits == 8 && mode->multisampleIndex == 1)
                return i;
        }
        return -1;
    }

    // The pixel at (x, y) of a render-target surface.
    Rgba ReadPixel(IDirect3DSurface9* surface, UINT x, UINT y) {
        std::vector<uint32_t> pixels;
        UINT width = 0, height = 0;
        if (!ReadRenderTarget(device_, surface, pixels, width, height) || x >= width || y >= height) {
            ADD_FAILURE() << "no readback";
            return FromArgb(0xDEADBEEF);
        }
        return FromArgb(pixels[static_cast<size_t>(y) * width + x]);
    }

    Rgba ReadBackBuffer(UINT x, UINT y) {
        IDirect3DSurface9* back = nullptr;
        if (FAILED(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) return Rgba{-1, -1, -1, -1};
        Rgba pixel = ReadPixel(back, x, y);
        ReleaseCom(back);
        return pixel;
    }

    DWORD RenderState(D3DRENDERSTATETYPE state) {
        DWORD value = 0xDEADBEEF;
        device_->GetRenderState(state, &value);
        return value;
    }

    TestWindowSystem windows_;
    Pointer<D3D9Renderer> renderer_;
    IDirect3DDevice9* device_ = nullptr;
};

}  // namespace zel::test
