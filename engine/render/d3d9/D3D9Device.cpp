// Device creation with its capability report, device reset and release.
#include "engine/core/Log.h"
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/render/device/ModeFormats.h"

namespace zel {

namespace {

const char* TrueFalse(bool value) { return value ? "true" : "false"; }

constexpr D3DFORMAT kAutogenFormats[] = {D3DFMT_A8, D3DFMT_A16B16G16R16F, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8};
constexpr const char* kAutogenNames[] = {"A8", "A16B16G16R16", "R8G8B8", "R8G8B8A8"};

int32_t VertexShaderLevel(DWORD version) {
    const DWORD major = D3DSHADER_VERSION_MAJOR(version), minor = D3DSHADER_VERSION_MINOR(version);
    if (major == 1 && minor == 1) return RendererCapabilities::kShaderLevel1x;
    if (major == 2 && minor == 0) return RendererCapabilities::kShaderLevel20;
    if (major == 3 && minor == 0) return RendererCapabilities::kShaderLevel30;
    return RendererCapabilities::kShaderLevelNone;
}

int32_t PixelShaderLevel(DWORD version) {
    const DWORD major = D3DSHADER_VERSION_MAJOR(version), minor = D3DSHADER_VERSION_MINOR(version);
    if (major == 1 && minor >= 1 && minor <= 4) return RendererCapabilities::kShaderLevel1x;
    if (major == 2 && minor == 0) return RendererCapabilities::kShaderLevel20;
    if (major == 3 && minor == 0) return RendererCapabilities::kShaderLevel30;
    return RendererCapabilities::kShaderLevelNone;
}

}  // namespace

int32_t D3D9Renderer::CreateDevice(int32_t modeIndex, const char*, void* parentWindow, int32_t x, int32_t y,
                                   int32_t width, int32_t height) {
    const DisplayModeEntry* mode = GetDisplayMode(modeIndex);
    if (direct3d_ == nullptr || mode == nullptr) return kFailed;
    if (device_ != nullptr) DestroyDevice();
    void* window = GetWindow() != nullptr ? GetWindow() : parentWindow;
    present_ = D3DPRESENT_PARAMETERS{};
    present_.BackBufferWidth = mode->fullScreen ? mode->width : static_cast<UINT>(width);
    present_.BackBufferHeight = mode->fullScreen ? mode->height : static_cast<UINT>(height);
    present_.BackBufferFormat = static_cast<D3DFORMAT>(BackBufferFormatOf(*mode));
    present_.BackBufferCount = 1;
    present_.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(MultisampleTypeOf(mode->multisampleIndex));
    present_.MultiSampleQuality = 0;
    present_.SwapEffect = D3DSWAPEFFECT_DISCARD;
    present_.hDeviceWindow = static_cast<HWND>(window);
    present_.Windowed = mode->fullScreen ? FALSE : TRUE;
    present_.EnableAutoDepthStencil = TRUE;
    present_.AutoDepthStencilFormat = static_cast<D3DFORMAT>(DepthFormatOf(mode->depthBits, mode->stencilBits));
    present_.Flags = 0;
    present_.FullScreen_RefreshRateInHz = 0;
    present_.PresentationInterval = 0;
    displayFormat_ = static_cast<D3DFORMAT>(DisplayFormatOf(*mode));

    hardwareVertexProcessing_ = true;
    if (CreateDeviceWith(D3DCREATE_HARDWARE_VERTEXPROCESSING)) {
        LogInfo("Created HARDWARE VERTEXPROCESSING");
    } else if (CreateDeviceWith(D3DCREATE_SOFTWARE_VERTEXPROCESSING)) {
        LogInfo("Created SOFTWARE VERTEXPROCESSING");
        hardwareVertexProcessing_ = false;
    } else {
        return kFailed;
    }
    SetFrameFormat(*mode, mode->fullScreen ? 0 : x, mode->fullScreen ? 0 : y,
                   static_cast<int32_t>(present_.BackBufferWidth), static_cast<int32_t>(present_.BackBufferHeight));
    LogFrameFormat();
    ReadAdapterTexts();
    ReadCapabilities();
    return kOk;
}

// A failed attempt is an answer (the next mode is tried), so it is not
// logged here.
bool D3D9Renderer::CreateDeviceWith(DWORD vertexProcessing) {
    D3DPRESENT_PARAMETERS present = present_;
    IDirect3DDevice9* device = nullptr;
    if (FAILED(direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, present_.hDeviceWindow, vertexProcessing,
                                       &present, &device)) ||
        device == nullptr)
        return false;
    device_ = device;
    present_ = present;
    return true;
}

void D3D9Renderer::LogFrameFormat() {
    LogInfo("COLOR BPP %d", GetColorBits());
    LogInfo("Alpha BPP %d", GetAlphaBits());
    LogInfo("Depth BPP %d", GetDepthBits());
    LogInfo("Stencil BPP %d", GetStencilBits());
    LogInfo("Samples %d", static_cast<int>(present_.MultiSampleType));
}

void D3D9Renderer::ReadAdapterTexts() {
    D3DADAPTER_IDENTIFIER9 identifier{};
    if (!D3DSucceeded(direct3d_->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &identifier), "GetAdapterIdentifier"))
        return;
    LogInfo("Vendor [%s]", identifier.Description);
    LogInfo("Driver [%s]", identifier.Driver);
    SetAdapterTexts(String(identifier.Description), String(identifier.Driver));
}

void D3D9Renderer::ReadCapabilities() {
    D3DCAPS9 caps{};
    if (!D3DSucceeded(device_->GetDeviceCaps(&caps), "GetDeviceCaps")) return;
    RendererCapabilities& capabilities = MutableCapabilities();
    maxVertexIndex_ = caps.MaxVertexIndex;
    capabilities.simultaneousTextures = static_cast<int32_t>(caps.MaxSimultaneousTextures);
    capabilities.maxActiveLights = static_cast<int32_t>(caps.MaxActiveLights);
    capabilities.volumeTextures = (caps.TextureCaps & D3DPTEXTURECAPS_VOLUMEMAP) != 0;
    capabilities.cubeTextures = (caps.TextureCaps & D3DPTEXTURECAPS_CUBEMAP) != 0;
    capabilities.projectedTextures = (caps.TextureCaps & D3DPTEXTURECAPS_PROJECTED) != 0;
    LogInfo("Simultaneous Textures [%d]", capabilities.simultaneousTextures);
    LogInfo("Max Active Lights [%d]", capabilities.maxActiveLights);
    LogInfo("Volume Textures [%s]", TrueFalse(capabilities.volumeTextures));
    LogInfo("Cube Textures [%s]", TrueFalse(capabilities.cubeTextures));
    LogInfo("Projected Textures [%s]", TrueFalse(capabilities.projectedTextures));
    ReadShaderLevels(caps);

    capabilities.maxPointSize = caps.MaxPointSize;
    capabilities.pointSprites = caps.MaxPointSize > 8000.0f && (caps.FVFCaps & D3DFVFCAPS_PSIZE) != 0;
    LogInfo("Point Sprites [%s]", TrueFalse(capabilities.pointSprites));
    // The probe's failure is the answer "no queries".
    IDirect3DQuery9* probe = nullptr;
    capabilities.occlusionQueries = device_->CreateQuery(D3DQUERYTYPE_OCCLUSION, &probe) == S_OK;
    ReleaseCom(probe);
    LogInfo("Occlusion Query [%s]", TrueFalse(capabilities.occlusionQueries));
    capabilities.hardwareShadowMaps =
        DeviceFormatSupported(D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_TEXTURE, present_.AutoDepthStencilFormat);
    LogInfo("Hardware Shadowmaps [%s]", TrueFalse(capabilities.hardwareShadowMaps));
    RestoreDeviceStates();
    ReadFormatSupport(caps);
}

// A pixel shader level of none takes the vertex level with it: the effects
// need both stages.
void D3D9Renderer::ReadShaderLevels(const D3DCAPS9& caps) {
    RendererCapabilities& capabilities = MutableCapabilities();
    capabilities.vertexShaderLevel = VertexShaderLevel(caps.VertexShaderVersion);
    capabilities.pixelShaderLevel = PixelShaderLevel(caps.PixelShaderVersion);
    if (capabilities.pixelShaderLevel == RendererCapabilities::kShaderLevelNone)
        capabilities.vertexShaderLevel = RendererCapabilities::kShaderLevelNone;
    LogInfo("VERTEX SHADER %d", capabilities.vertexShaderLevel);
    LogInfo("PIXEL SHADER %d", capabilities.pixelShaderLevel);
}

void D3D9Renderer::ReadFormatSupport(const D3DCAPS9& caps) {
    RendererCapabilities& capabilities = MutableCapabilities();
    capabilities.floatTextures = DeviceFormatSupported(D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, D3DFMT_A16B16G16R16F);
    LogInfo("A16B16G16R16F Textures [%s]", TrueFalse(capabilities.floatTextures));
    if ((caps.Caps2 & D3DCAPS2_CANAUTOGENMIPMAP) == 0) return;
    const DWORD usage = D3DUSAGE_RENDERTARGET | D3DUSAGE_AUTOGENMIPMAP;
    for (int32_t cube = 0; cube < 2; ++cube) {
        const D3DRESOURCETYPE type = cube != 0 ? D3DRTYPE_CUBETEXTURE : D3DRTYPE_TEXTURE;
        for (int32_t i = 0; i < 4; ++i) {
            bool noAutogen = false;
            DeviceFormatSupported(usage, type, kAutogenFormats[i], &noAutogen);
            const bool autogen = !noAutogen;
            capabilities.autogenMipmaps[cube * RendererCapabilities::kAutogenCubeOffset + i] = autogen;
            LogInfo("%s %s Textures MipMap Autogen support[%s]", kAutogenNames[i],
                    cube != 0 ? "CubeRenderTarget" : "RenderTarget", TrueFalse(autogen));
        }
    }
}

// A format probe on the device's display format; its failure is an answer.
bool D3D9Renderer::DeviceFormatSupported(DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format, bool* noAutogen) {
    const HRESULT result =
        direct3d_->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, displayFormat_, usage, type, format);
    if (noAutogen != nullptr) *noAutogen = result == D3DOK_NOAUTOGEN;
    return result == D3D_OK;
}

// A later device starts from its own defaults, the gamma ramp included.
int32_t D3D9Renderer::DestroyDevice() {
    ReleaseAll();
    ReleaseCom(device_);
    gammaSet_ = false;
    return kOk;
}

bool D3D9Renderer::ResetDevice() {
    ReleaseAll();
    D3DPRESENT_PARAMETERS present = present_;
    if (!D3DSucceeded(device_->Reset(&present), "Reset")) return false;
    RestoreDeviceStates();
    return true;
}

void D3D9Renderer::RestoreDeviceStates() {
    D3DSucceeded(device_->SetRenderState(D3DRS_LIGHTING, FALSE), "SetRenderState");
    D3DSucceeded(device_->SetRenderState(D3DRS_SPECULARENABLE, FALSE), "SetRenderState");
    if (gammaSet_) ApplyGammaRamp();
}

}  // namespace zel
