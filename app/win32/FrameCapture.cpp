#include "app/win32/FrameCapture.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/render/d3d9/D3D9Renderer.h"

namespace zel {

namespace {

// Bottom-up rows of blue, green, red, each padded to four bytes.
bool WriteBmp(const char* path, UINT width, UINT height, const D3DLOCKED_RECT& pixels) {
    const UINT rowBytes = (width * 3 + 3) & ~3u;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + rowBytes * height;
    info.biSize = sizeof info;
    info.biWidth = static_cast<LONG>(width);
    info.biHeight = static_cast<LONG>(height);
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = rowBytes * height;
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1;
    std::vector<uint8_t> row(rowBytes, 0);
    for (UINT y = height; written && y-- > 0;) {
        const uint8_t* source = static_cast<const uint8_t*>(pixels.pBits) + y * pixels.Pitch;
        for (UINT x = 0; x < width; ++x) std::memcpy(&row[x * 3], source + x * 4, 3);
        written = std::fwrite(row.data(), 1, rowBytes, out) == rowBytes;
    }
    return std::fclose(out) == 0 && written;
}

}  // namespace

bool CaptureBackBuffer(Renderer& renderer, const char* path) {
    D3D9Renderer* d3d = dynamic_cast<D3D9Renderer*>(&renderer);
    IDirect3DDevice9* device = d3d != nullptr ? d3d->GetDevice() : nullptr;
    if (device == nullptr) return false;
    IDirect3DSurface9* back = nullptr;
    IDirect3DSurface9* copy = nullptr;
    D3DSURFACE_DESC desc{};
    D3DLOCKED_RECT locked{};
    bool saved = false;
    // Only the 32-bit back-buffer formats are written.
    if (SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) && SUCCEEDED(back->GetDesc(&desc)) &&
        (desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8) &&
        SUCCEEDED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                      nullptr)) &&
        SUCCEEDED(device->GetRenderTargetData(back, copy)) &&
        SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        saved = WriteBmp(path, desc.Width, desc.Height, locked);
        copy->UnlockRect();
    }
    ReleaseCom(copy);
    ReleaseCom(back);
    return saved;
}

}  // namespace zel
