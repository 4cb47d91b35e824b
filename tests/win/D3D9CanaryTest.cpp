// Checks that the machine can run the renderer tests at all: Wine under the
// Xvfb fixture must give a Direct3D 9 HAL device with 2.0 shaders, D3DX must
// assemble shader text, and the back buffer must read back through a
// system-memory surface (the engine's one read-back). Unlike the renderer
// tests, which skip without a device, this one fails, so a broken setup is
// never mistaken for a pass.

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/render/d3d9/D3D9ReadBack.h"

namespace {

constexpr UINT kWidth = 128;
constexpr UINT kHeight = 96;

// Releases a COM pointer and nulls it; returns the remaining reference count.
template <typename T>
ULONG releaseCom(T*& p)
{
    ULONG left = 0;
    if (p) {
        left = p->Release();
        p = nullptr;
    }
    return left;
}

struct Rgb {
    int r, g, b;
};

Rgb rgbOf(DWORD pixel)
{
    return Rgb{static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
               static_cast<int>(pixel & 0xFF)};
}

// Compares per channel; failures show both colours and land on the caller's line.
::testing::AssertionResult colourNear(Rgb actual, Rgb expected, int tolerance)
{
    if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got (" << actual.r << ", " << actual.g << ", " << actual.b << "), expected (" << expected.r
           << ", " << expected.g << ", " << expected.b << ") within " << tolerance;
}

LRESULT CALLBACK canaryWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// Assembles shader text; on failure returns null and the assembler's message.
ID3DXBuffer* assemble(const char* text, std::string& errors)
{
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* messages = nullptr;
    HRESULT hr = D3DXAssembleShader(text, static_cast<UINT>(std::strlen(text)), nullptr, nullptr, 0, &code,
                                    &messages);
    if (messages) {
        errors.assign(static_cast<const char*>(messages->GetBufferPointer()), messages->GetBufferSize());
        releaseCom(messages);
    }
    if (FAILED(hr)) {
        releaseCom(code);
        return nullptr;
    }
    return code;
}

class D3D9Canary : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = canaryWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZelD3D9Canary";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("ZelD3D9Canary", "Zel D3D9 canary", WS_OVERLAPPEDWINDOW, 0, 0, kWidth + 32,
                                kHeight + 64, nullptr, nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(window_, nullptr) << "no window: is DISPLAY set to a running X server?";

        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d_, nullptr) << "Direct3DCreate9 failed";

        D3DPRESENT_PARAMETERS params{};
        params.BackBufferWidth = kWidth;
        params.BackBufferHeight = kHeight;
        params.BackBufferFormat = D3DFMT_X8R8G8B8;
        params.BackBufferCount = 1;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        params.hDeviceWindow = window_;
        params.Windowed = TRUE;
        params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        HRESULT hr = d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                                        D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device_);
        ASSERT_EQ(hr, D3D_OK) << "CreateDevice(HAL) failed";
        ASSERT_NE(device_, nullptr);
    }

    void TearDown() override
    {
        // The device must be the last holder of itself: every surface,
        // shader and declaration the test made has been released by now.
        if (device_) {
            EXPECT_EQ(releaseCom(device_), 0u) << "device still referenced at teardown";
        }
        if (d3d_) {
            EXPECT_EQ(releaseCom(d3d_), 0u) << "IDirect3D9 still referenced at teardown";
        }
        if (window_)
            DestroyWindow(window_);
        UnregisterClassA("ZelD3D9Canary", GetModuleHandleA(nullptr));
    }

    // Copies the back buffer into system memory and returns the pixel at (x, y).
    DWORD readBackBuffer(UINT x, UINT y)
    {
        std::vector<std::uint32_t> pixels;
        UINT width = 0, height = 0;
        if (!zel::ReadBackBufferPixels(device_, pixels, width, height) || x >= width || y >= height) {
            ADD_FAILURE() << "back buffer read-back failed";
            return 0xDEADBEEF;
        }
        return pixels[static_cast<std::size_t>(y) * width + x];
    }

    HWND window_ = nullptr;
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
};

TEST_F(D3D9Canary, HalDeviceHasShaderModelTwo)
{
    D3DCAPS9 caps{};
    ASSERT_EQ(device_->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_HAL);
    EXPECT_GE(caps.VertexShaderVersion, D3DVS_VERSION(2, 0));
    EXPECT_GE(caps.PixelShaderVersion, D3DPS_VERSION(2, 0));
}

TEST_F(D3D9Canary, ShadedTriangleOverClearColourReadsBack)
{
    // Positions arrive in clip space; the colour comes from a vertex shader
    // constant and is interpolated to the pixel shader.
    const char* vertexText =
        "vs_2_0\n"
        "dcl_position v0\n"
        "mov oPos, v0\n"
        "mov oD0, c0\n";
    const char* pixelText =
        "ps_2_0\n"
        "dcl v0\n"
        "mov oC0, v0\n";

    std::string errors;
    ID3DXBuffer* vertexCode = assemble(vertexText, errors);
    ASSERT_NE(vertexCode, nullptr) << "vertex shader: " << errors;
    ID3DXBuffer* pixelCode = assemble(pixelText, errors);
    if (!pixelCode)
        releaseCom(vertexCode);
    ASSERT_NE(pixelCode, nullptr) << "pixel shader: " << errors;

    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DPixelShader9* pixelShader = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
    EXPECT_EQ(device_->CreateVertexShader(static_cast<const DWORD*>(vertexCode->GetBufferPointer()),
                                          &vertexShader),
              D3D_OK);
    EXPECT_EQ(device_->CreatePixelShader(static_cast<const DWORD*>(pixelCode->GetBufferPointer()),
                                         &pixelShader),
              D3D_OK);
    releaseCom(vertexCode);
    releaseCom(pixelCode);

    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        D3DDECL_END(),
    };
    EXPECT_EQ(device_->CreateVertexDeclaration(elements, &declaration), D3D_OK);

    if (vertexShader && pixelShader && declaration) {
        // Covers the centre, leaves every corner to the clear colour.
        const float triangle[] = {
            -0.6f, -0.6f, 0.5f, 1.0f,
            0.0f,  0.8f,  0.5f, 1.0f,
            0.6f,  -0.6f, 0.5f, 1.0f,
        };
        const float colour[4] = {1.0f, 0.5f, 0.0f, 1.0f};

        EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 255), 1.0f, 0), D3D_OK);
        EXPECT_EQ(device_->BeginScene(), D3D_OK);
        device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device_->SetRenderState(D3DRS_LIGHTING, FALSE);
        EXPECT_EQ(device_->SetVertexDeclaration(declaration), D3D_OK);
        EXPECT_EQ(device_->SetVertexShader(vertexShader), D3D_OK);
        EXPECT_EQ(device_->SetPixelShader(pixelShader), D3D_OK);
        EXPECT_EQ(device_->SetVertexShaderConstantF(0, colour, 1), D3D_OK);
        EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, 4 * sizeof(float)), D3D_OK);
        EXPECT_EQ(device_->EndScene(), D3D_OK);

        // Unbinding drops the device's own references to the objects.
        device_->SetVertexShader(nullptr);
        device_->SetPixelShader(nullptr);
        device_->SetVertexDeclaration(nullptr);

        EXPECT_TRUE(colourNear(rgbOf(readBackBuffer(kWidth / 2, kHeight / 2)), Rgb{255, 128, 0}, 8));
        EXPECT_TRUE(colourNear(rgbOf(readBackBuffer(1, 1)), Rgb{0, 0, 255}, 8));
        EXPECT_TRUE(colourNear(rgbOf(readBackBuffer(kWidth - 2, kHeight - 2)), Rgb{0, 0, 255}, 8));
    }

    EXPECT_EQ(releaseCom(declaration), 0u);
    EXPECT_EQ(releaseCom(pixelShader), 0u);
    EXPECT_EQ(releaseCom(vertexShader), 0u);
}

TEST_F(D3D9Canary, AssemblerRejectsBadTextWithMessage)
{
    std::string errors;
    ID3DXBuffer* code = assemble("ps_2_0\nmov oC0, r99_bogus\n", errors);
    EXPECT_EQ(code, nullptr);
    EXPECT_FALSE(errors.empty()) << "the assembler gave no message";
    releaseCom(code);
}

} // namespace
