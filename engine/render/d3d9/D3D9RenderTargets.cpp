// The render-target stack: textures, cube faces and depth textures pushed
// as targets, each push saving the surfaces it replaces and each pop
// restoring them. Targets live in the default pool; a texture that wants
// its own depth buffer carries it as private data.
#include <bit>
#include <cstddef>
#include <new>

#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/render/texture/CubeTexture.h"
#include "engine/render/texture/Texture.h"

namespace zel {

namespace {

// Identifies the depth surface attached to a target texture.
constexpr GUID kDepthSurfaceKey = {0x5a656c44, 0x6570, 0x7468, {0x53, 0x75, 0x72, 0x66, 0x61, 0x63, 0x65, 0x31}};

// One depth-bias unit of a 24-bit depth buffer.
const float kDepthBiasUnit = std::bit_cast<float>(0x33800001u);

constexpr DWORD kAllChannels = D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_GREEN | D3DCOLORWRITEENABLE_BLUE |
                               D3DCOLORWRITEENABLE_ALPHA;

// Creation of a target may fail while the driver frees memory; once more
// is worth it.
template <class Create>
bool CreateTwice(Create create, const char* call) {
    return SUCCEEDED(create()) || D3DSucceeded(create(), call);
}

}  // namespace

bool D3D9Renderer::IsRenderTargetTexture(IDirect3DTexture9* texture, DWORD usage) {
    D3DSURFACE_DESC desc{};
    return SUCCEEDED(texture->GetLevelDesc(0, &desc)) && (desc.Usage & usage) != 0;
}

IDirect3DTexture9* D3D9Renderer::TargetTexture(Texture* texture, DWORD usage, D3DFORMAT format) {
    RendererBinding& binding = texture->GetBinding();
    auto* handle = static_cast<IDirect3DTexture9*>(binding.GetHandle());
    if (IsRefused(binding)) return nullptr;
    if (handle != nullptr && IsRenderTargetTexture(handle, usage)) return handle;
    if (handle != nullptr) ReleaseTexture(texture);
    const Image* image = texture->GetImage();
    const auto width = static_cast<UINT>(image->GetWidth()), height = static_cast<UINT>(image->GetHeight());
    handle = nullptr;
    if (format == D3DFMT_UNKNOWN ||
        !CreateTwice([&] { return device_->CreateTexture(width, height, 1, usage, format, D3DPOOL_DEFAULT, &handle,
                                                         nullptr); },
                     "CreateTexture"))
        return RefusedTarget(texture, format);
    Remember(texture, binding, handle);
    binding.SetDirty(false);
    if ((usage & D3DUSAGE_RENDERTARGET) != 0 && texture->HasOwnDepthBuffer() &&
        !AttachDepthSurface(handle, width, height)) {
        ReleaseTexture(texture);
        return RefusedTarget(texture, format);
    }
    return handle;
}

IDirect3DCubeTexture9* D3D9Renderer::CubeTargetTexture(CubeTexture* texture) {
    RendererBinding& binding = texture->GetBinding();
    auto* handle = static_cast<IDirect3DCubeTexture9*>(binding.GetHandle());
    if (IsRefused(binding)) return nullptr;
    D3DSURFACE_DESC desc{};
    if (handle != nullptr && SUCCEEDED(handle->GetLevelDesc(0, &desc)) && (desc.Usage & D3DUSAGE_RENDERTARGET) != 0)
        return handle;
    if (handle != nullptr) ReleaseTexture(texture);
    const Image* image = texture->GetImage();
    const D3DFORMAT format = DeviceFormatOf(image->GetFormat());
    const auto edge = static_cast<UINT>(image->GetWidth());
    handle = nullptr;
    if (format == D3DFMT_UNKNOWN ||
        !CreateTwice([&] { return device_->CreateCubeTexture(edge, 1, D3DUSAGE_RENDERTARGET, format, D3DPOOL_DEFAULT,
                                                             &handle, nullptr); },
                     "CreateCubeTexture"))
        return RefusedTarget(texture, format);
    Remember(texture, binding, handle);
    binding.SetDirty(false);
    if (!AttachDepthSurface(handle, edge, edge)) {
        ReleaseTexture(texture);
        return RefusedTarget(texture, format);
    }
    return handle;
}

// A target without a device format made no device call: nothing to
// remember. Null either way.
std::nullptr_t D3D9Renderer::RefusedTarget(BaseTexture* texture, D3DFORMAT format) {
    if (format != D3DFMT_UNKNOWN) Refuse(texture, texture->GetBinding());
    return nullptr;
}

// The texture holds the only reference to its depth surface, so releasing
// the texture releases the surface.
bool D3D9Renderer::AttachDepthSurface(IDirect3DResource9* texture, UINT width, UINT height) {
    IDirect3DSurface9* depth = nullptr;
    if (!D3DSucceeded(device_->CreateDepthStencilSurface(width, height, present_.AutoDepthStencilFormat,
                                                         D3DMULTISAMPLE_NONE, 0, FALSE, &depth, nullptr),
                      "CreateDepthStencilSurface"))
        return false;
    // With D3DSPD_IUNKNOWN the data is the interface itself, which the
    // texture then holds.
    const bool attached =
        D3DSucceeded(texture->SetPrivateData(kDepthSurfaceKey, static_cast<IUnknown*>(depth), sizeof(IUnknown*),
                                             D3DSPD_IUNKNOWN),
                     "SetPrivateData");
    ReleaseCom(depth);
    return attached;
}

// A counted reference the caller releases, or null when none is attached.
IDirect3DSurface9* D3D9Renderer::AttachedDepthSurface(IDirect3DResource9* texture) {
    IUnknown* unknown = nullptr;
    DWORD size = sizeof(unknown);
    if (FAILED(texture->GetPrivateData(kDepthSurfaceKey, &unknown, &size))) return nullptr;
    return static_cast<IDirect3DSurface9*>(unknown);
}

// Saves the current surfaces and binds `color` (null: the colour target
// stays) and `depth` (null: the depth surface stays).
bool D3D9Renderer::PushTarget(Object* target, IDirect3DSurface9* color, IDirect3DSurface9* depth) {
    TargetEntry entry;
    entry.target = target;
    if (!D3DSucceeded(device_->GetRenderTarget(0, &entry.savedColor), "GetRenderTarget")) return false;
    // A device without a depth surface answers NOTFOUND: nothing to save.
    device_->GetDepthStencilSurface(&entry.savedDepth);
    const bool bound = (color == nullptr || D3DSucceeded(device_->SetRenderTarget(0, color), "SetRenderTarget")) &&
                       (depth == nullptr ||
                        D3DSucceeded(device_->SetDepthStencilSurface(depth), "SetDepthStencilSurface"));
    if (!bound || targets_.Append(entry) != kOk) {
        device_->SetRenderTarget(0, entry.savedColor);
        device_->SetDepthStencilSurface(entry.savedDepth);
        ReleaseCom(entry.savedColor);
        ReleaseCom(entry.savedDepth);
        return false;
    }
    return true;
}

void D3D9Renderer::PopTarget() {
    if (targets_.IsEmpty()) return;
    TargetEntry entry = targets_[targets_.Count() - 1];
    targets_.RemoveAt(targets_.Count() - 1);
    D3DSucceeded(device_->SetDepthStencilSurface(entry.savedDepth), "SetDepthStencilSurface");
    D3DSucceeded(device_->SetRenderTarget(0, entry.savedColor), "SetRenderTarget");
    D3DSURFACE_DESC desc{};
    if (D3DSucceeded(entry.savedColor->GetDesc(&desc), "GetDesc")) SetTargetViewport(desc.Width, desc.Height);
    ReleaseCom(entry.savedColor);
    ReleaseCom(entry.savedDepth);
}

void D3D9Renderer::SetTargetViewport(UINT width, UINT height) {
    SetViewport(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    SetFrameSize(static_cast<int32_t>(width), static_cast<int32_t>(height));
}

void D3D9Renderer::SetRenderTarget(Texture* texture) {
    if (device_ == nullptr) return;
    if (texture == nullptr) {
        FlushDeferred();
        PopTarget();
        return;
    }
    const Image* image = texture->GetImage();
    if (image == nullptr) return;
    IDirect3DTexture9* handle = TargetTexture(texture, D3DUSAGE_RENDERTARGET, DeviceFormatOf(image->GetFormat()));
    if (handle == nullptr) return;
    IDirect3DSurface9* color = nullptr;
    if (!D3DSucceeded(handle->GetSurfaceLevel(0, &color), "GetSurfaceLevel")) return;
    IDirect3DSurface9* depth = texture->HasOwnDepthBuffer() ? AttachedDepthSurface(handle) : nullptr;
    if (PushTarget(texture, color, depth)) SetTargetViewport(image->GetWidth(), image->GetHeight());
    ReleaseCom(depth);
    ReleaseCom(color);
}

void D3D9Renderer::SetCubeRenderTarget(int32_t face, CubeTexture* texture) {
    if (device_ == nullptr) return;
    if (texture == nullptr) {
        FlushDeferred();
        PopTarget();
        return;
    }
    if (texture->GetImage() == nullptr) return;
    IDirect3DCubeTexture9* handle = CubeTargetTexture(texture);
    if (handle == nullptr) return;
    IDirect3DSurface9* color = nullptr;
    if (!D3DSucceeded(handle->GetCubeMapSurface(static_cast<D3DCUBEMAP_FACES>(face), 0, &color), "GetCubeMapSurface"))
        return;
    IDirect3DSurface9* depth = AttachedDepthSurface(handle);
    const auto edge = static_cast<UINT>(texture->GetImage()->GetWidth());
    if (PushTarget(texture, color, depth)) SetTargetViewport(edge, edge);
    ReleaseCom(depth);
    ReleaseCom(color);
}

// The colour target stays; the biases keep shadow-map depth from fighting
// with the surfaces that cast it.
void D3D9Renderer::SetDepthRenderTarget(Texture* texture, int32_t depthBias, float slopeScaleBias) {
    if (device_ == nullptr) return;
    if (texture == nullptr) {
        FlushDeferred();
        PopTarget();
        D3DSucceeded(device_->SetRenderState(D3DRS_COLORWRITEENABLE, kAllChannels), "SetRenderState");
        D3DSucceeded(device_->SetRenderState(D3DRS_DEPTHBIAS, 0), "SetRenderState");
        D3DSucceeded(device_->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, 0), "SetRenderState");
        return;
    }
    if (texture->GetImage() == nullptr) {
        Image* image = new (std::nothrow) Image(String(), Image::kFormatDepthStencil, GetViewportWidth(),
                                                GetViewportHeight());
        if (image == nullptr) return;
        texture->SetImage(image);
    }
    IDirect3DTexture9* handle = TargetTexture(texture, D3DUSAGE_DEPTHSTENCIL, present_.AutoDepthStencilFormat);
    if (handle == nullptr) return;
    IDirect3DSurface9* depth = nullptr;
    if (!D3DSucceeded(handle->GetSurfaceLevel(0, &depth), "GetSurfaceLevel")) return;
    const bool pushed = PushTarget(texture, nullptr, depth);
    ReleaseCom(depth);
    if (!pushed) return;
    D3DSucceeded(device_->SetRenderState(D3DRS_DEPTHBIAS, FloatBits(static_cast<float>(depthBias) * kDepthBiasUnit)),
                 "SetRenderState");
    D3DSucceeded(device_->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, FloatBits(slopeScaleBias)), "SetRenderState");
    // Only depths are kept: the colour target beside a depth target is
    // never read, and without colour writes the rasterizer can skip the
    // surfaces' shading.
    D3DSucceeded(device_->SetRenderState(D3DRS_COLORWRITEENABLE, 0), "SetRenderState");
}

}  // namespace zel
