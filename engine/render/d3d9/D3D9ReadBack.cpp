#include "engine/render/d3d9/D3D9ReadBack.h"

#include <cstring>
#include <new>

#include "engine/core/Status.h"
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/resources/Image.h"

namespace zel {

bool ReadRenderTarget(IDirect3DDevice9* device, IDirect3DSurface9* surface, std::vector<uint32_t>& pixels,
                      UINT& width, UINT& height) {
    pixels.clear();
    D3DSURFACE_DESC desc{};
    if (device == nullptr || surface == nullptr || FAILED(surface->GetDesc(&desc)) ||
        (desc.Format != D3DFMT_X8R8G8B8 && desc.Format != D3DFMT_A8R8G8B8))
        return false;
    IDirect3DSurface9* copy = nullptr;
    D3DLOCKED_RECT locked{};
    bool read = false;
    if (SUCCEEDED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                      nullptr)) &&
        SUCCEEDED(device->GetRenderTargetData(surface, copy)) &&
        SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        pixels.resize(static_cast<size_t>(desc.Width) * desc.Height);
        for (UINT y = 0; y < desc.Height; ++y)
            std::memcpy(&pixels[static_cast<size_t>(y) * desc.Width],
                        static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch,
                        desc.Width * sizeof(uint32_t));
        copy->UnlockRect();
        width = desc.Width;
        height = desc.Height;
        read = true;
    }
    ReleaseCom(copy);
    return read;
}

bool ReadBackBufferPixels(IDirect3DDevice9* device, std::vector<uint32_t>& pixels, UINT& width, UINT& height) {
    IDirect3DSurface9* back = nullptr;
    if (device == nullptr || FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) {
        pixels.clear();
        return false;
    }
    const bool read = ReadRenderTarget(device, back, pixels, width, height);
    ReleaseCom(back);
    return read;
}

int32_t D3D9Renderer::ReadBackBuffer(Image& image) {
    std::vector<uint32_t> pixels;
    UINT width = 0, height = 0;
    if (!ReadBackBufferPixels(device_, pixels, width, height)) return kFailed;
    image.SetFormat(Image::kFormatRGB);
    image.SetWidth(static_cast<int32_t>(width));
    image.SetHeight(static_cast<int32_t>(height));
    if (image.AllocateData() != kOk) return kOutOfMemory;
    uint8_t* out = image.GetData();
    for (const uint32_t argb : pixels) {
        *out++ = static_cast<uint8_t>(argb >> 16);
        *out++ = static_cast<uint8_t>(argb >> 8);
        *out++ = static_cast<uint8_t>(argb);
    }
    return kOk;
}

}  // namespace zel
