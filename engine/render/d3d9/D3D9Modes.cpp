// Construction and the display-mode list: every configuration of adapter
// format, back buffer, depth buffer and multisampling the HAL device
// accepts, full-screen ones per screen size, windowed ones once.
#include <algorithm>

#include "engine/core/Log.h"
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/render/device/ModeFormats.h"

namespace zel {

namespace {

D3DFORMAT AsFormat(uint32_t format) { return static_cast<D3DFORMAT>(format); }

static_assert(format::kX8R8G8B8 == D3DFMT_X8R8G8B8 && format::kA8R8G8B8 == D3DFMT_A8R8G8B8 &&
              format::kR5G6B5 == D3DFMT_R5G6B5 && format::kX1R5G5B5 == D3DFMT_X1R5G5B5 &&
              format::kA1R5G5B5 == D3DFMT_A1R5G5B5 && format::kA2R10G10B10 == D3DFMT_A2R10G10B10 &&
              format::kA8 == D3DFMT_A8 && format::kA16B16G16R16F == D3DFMT_A16B16G16R16F);
static_assert(format::kD32 == D3DFMT_D32 && format::kD15S1 == D3DFMT_D15S1 && format::kD24S8 == D3DFMT_D24S8 &&
              format::kD24X8 == D3DFMT_D24X8 && format::kD24X4S4 == D3DFMT_D24X4S4 && format::kD16 == D3DFMT_D16);

}  // namespace

D3D9Renderer::D3D9Renderer() : D3D9Renderer(Direct3DCreate9(kSdkVersion)) {}

D3D9Renderer::D3D9Renderer(IDirect3D9* direct3d) : direct3d_(direct3d) {
    if (direct3d_ == nullptr) {
        LogError("Невозможно создать экземпляр D3D9.");
        return;
    }
    EnumerateDisplayModes();
}

D3D9Renderer::~D3D9Renderer() {
    if (IsWindowOpen() && CloseWindow() != kOk) LogError("Невозможно закрыть окно рендеринга.");
    if (device_ != nullptr) DestroyDevice();
    ReleaseCom(direct3d_);
}

void D3D9Renderer::EnumerateDisplayModes() {
    CollectAdapterModes();
    // The desktop's mode picks the default entry; without it there is none.
    if (FAILED(direct3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop_))) desktop_ = D3DDISPLAYMODE{};
    AddModeEntries(true);
    AddModeEntries(false);
}

// Distinct (width, height, format) of every adapter format, refresh rates
// folded together, sorted by width, height, format.
void D3D9Renderer::CollectAdapterModes() {
    for (uint32_t adapterFormat : kAdapterFormats) {
        const D3DFORMAT format = AsFormat(adapterFormat);
        const UINT count = direct3d_->GetAdapterModeCount(D3DADAPTER_DEFAULT, format);
        bool seen = false;
        for (UINT i = 0; i < count; ++i) {
            D3DDISPLAYMODE mode{};
            if (FAILED(direct3d_->EnumAdapterModes(D3DADAPTER_DEFAULT, format, i, &mode))) continue;
            seen = true;
            const bool known = std::any_of(adapterModes_.begin(), adapterModes_.end(), [&](const AdapterMode& m) {
                return m.width == mode.Width && m.height == mode.Height && m.format == mode.Format;
            });
            if (!known) adapterModes_.Append(AdapterMode{mode.Width, mode.Height, mode.Format});
        }
        if (seen) adapterFormats_.Append(format);
    }
    std::sort(adapterModes_.begin(), adapterModes_.end(), [](const AdapterMode& a, const AdapterMode& b) {
        if (a.width != b.width) return a.width < b.width;
        if (a.height != b.height) return a.height < b.height;
        return a.format < b.format;
    });
}

void D3D9Renderer::AddModeEntries(bool fullScreen) {
    const BOOL windowed = fullScreen ? FALSE : TRUE;
    for (D3DFORMAT adapterFormat : adapterFormats_) {
        for (uint32_t back : kBackBufferFormats) {
            const D3DFORMAT backBuffer = AsFormat(back);
            if (FAILED(direct3d_->CheckDeviceType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, adapterFormat, backBuffer,
                                                  windowed)))
                continue;
            for (uint32_t depthFormat : kDepthFormats) {
                const D3DFORMAT depth = AsFormat(depthFormat);
                if (FAILED(direct3d_->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, adapterFormat,
                                                        D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, depth)) ||
                    FAILED(direct3d_->CheckDepthStencilMatch(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, adapterFormat,
                                                             backBuffer, depth)))
                    continue;
                for (uint32_t index = 1; index <= static_cast<uint32_t>(kMultisampleCount); ++index) {
                    const auto type = static_cast<D3DMULTISAMPLE_TYPE>(MultisampleTypeOf(index));
                    if (SUCCEEDED(direct3d_->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                                                        backBuffer, windowed, type, nullptr)))
                        AddModeEntriesFor(adapterFormat, backBuffer, depth, index, fullScreen);
                }
            }
        }
    }
}

// Full-screen: one entry per screen size of the adapter format, the first
// at the desktop's size and format becoming the default. Windowed: one
// entry; its size comes with CreateDevice.
void D3D9Renderer::AddModeEntriesFor(D3DFORMAT adapterFormat, D3DFORMAT backBuffer, D3DFORMAT depth,
                                     uint32_t multisample, bool fullScreen) {
    DisplayModeEntry entry;
    entry.fullScreen = fullScreen;
    SetColorBits(backBuffer, entry);
    SetDepthBits(depth, entry);
    entry.multisampleIndex = multisample;
    if (!fullScreen) {
        // Out of memory only: the list stays shorter, as the full-screen
        // entries below stop at the first that cannot be added.
        (void)AddDisplayMode(entry);
        return;
    }
    for (const AdapterMode& mode : adapterModes_) {
        if (mode.format != adapterFormat) continue;
        entry.width = mode.width;
        entry.height = mode.height;
        if (AddDisplayMode(entry) != kOk) return;
        const bool desktop = mode.width == desktop_.Width && mode.height == desktop_.Height &&
                             adapterFormat == desktop_.Format;
        if (desktop && GetDefaultModeIndex() < 0) SetDefaultModeIndex(GetDisplayModeCount() - 1);
    }
}

}  // namespace zel
