// Textures: device textures made from images on first bind (managed pool,
// full or requested mip chain), uploaded again when the texture is dirty.
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/render/device/ModeFormats.h"
#include "engine/render/device/TexelUpload.h"
#include "engine/render/texture/CubeTexture.h"
#include "engine/render/texture/Texture.h"
#include "engine/render/texture/VolumeTexture.h"

namespace zel {

namespace {

constexpr int32_t kCubeFaces = 6;

// The device format of an image with pixels; unknown for the others, which
// get no device texture.
D3DFORMAT TextureFormatOf(const Image* image) {
    if (image == nullptr || image->GetData() == nullptr) return D3DFMT_UNKNOWN;
    // 16-bit float pixels are for render targets only.
    if (image->GetFormat() == Image::kFormatRGBA16F) return D3DFMT_UNKNOWN;
    return DeviceFormatOf(image->GetFormat());
}

bool CopyToSurface(IDirect3DTexture9* texture, const Image& image) {
    D3DLOCKED_RECT locked{};
    if (!D3DSucceeded(texture->LockRect(0, &locked, nullptr, 0), "LockRect")) return false;
    CopyImageToLevel(image.GetData(), image.GetWidth(), image.GetHeight(), image.GetFormat(),
                     static_cast<uint8_t*>(locked.pBits), locked.Pitch);
    return D3DSucceeded(texture->UnlockRect(0), "UnlockRect");
}

bool CopyToFaces(IDirect3DCubeTexture9* texture, const Image& image) {
    const int32_t edge = image.GetWidth();
    const size_t faceBytes = static_cast<size_t>(edge) * edge * Image::GetBytesPerPixel(image.GetFormat());
    for (int32_t face = 0; face < kCubeFaces; ++face) {
        const auto cubeFace = static_cast<D3DCUBEMAP_FACES>(face);
        D3DLOCKED_RECT locked{};
        if (!D3DSucceeded(texture->LockRect(cubeFace, 0, &locked, nullptr, 0), "LockRect")) return false;
        CopyImageToLevel(image.GetData() + face * faceBytes, edge, edge, image.GetFormat(),
                         static_cast<uint8_t*>(locked.pBits), locked.Pitch);
        if (!D3DSucceeded(texture->UnlockRect(cubeFace, 0), "UnlockRect")) return false;
    }
    return true;
}

// Slices keep their order; each slice's rows run upward as in a 2D level.
bool CopyToBox(IDirect3DVolumeTexture9* texture, const VolumeImage& image) {
    D3DLOCKED_BOX locked{};
    if (!D3DSucceeded(texture->LockBox(0, &locked, nullptr, 0), "LockBox")) return false;
    for (int32_t slice = 0; slice < image.GetDepth(); ++slice)
        CopyImageToLevel(image.GetSlice(slice), image.GetWidth(), image.GetHeight(), image.GetFormat(),
                         static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(slice) * locked.SlicePitch,
                         locked.RowPitch);
    return D3DSucceeded(texture->UnlockBox(0), "UnlockBox");
}

bool HoldsCubeFaces(const Image* image) {
    const int64_t faceBytes = int64_t{image->GetWidth()} * image->GetWidth() *
                              Image::GetBytesPerPixel(image->GetFormat());
    return faceBytes > 0 && image->GetDataSize() >= kCubeFaces * faceBytes;
}

}  // namespace

D3DFORMAT DeviceFormatOf(int32_t imageFormat) {
    switch (imageFormat) {
        case Image::kFormatRGB:
            return D3DFMT_X8R8G8B8;
        case Image::kFormatRGBA:
            return D3DFMT_A8R8G8B8;
        case Image::kFormatA8:
            return D3DFMT_A8;
        case Image::kFormatRGBA16F:
            return D3DFMT_A16B16G16R16F;
        default:
            return D3DFMT_UNKNOWN;
    }
}

IDirect3DBaseTexture9* D3D9Renderer::RefusedTexture(BaseTexture* texture) {
    Refuse(texture, texture->GetBinding());
    return nullptr;
}

bool D3D9Renderer::IsTargetOnStack(const Object* object) const {
    for (const TargetEntry& entry : targets_)
        if (entry.target == object) return true;
    return false;
}

void D3D9Renderer::SetTexture(BaseTexture* texture, int32_t stage) {
    if (device_ == nullptr) return;
    // A texture being rendered into cannot be sampled at the same time.
    if (texture != nullptr && IsTargetOnStack(texture)) return;
    IDirect3DBaseTexture9* handle = texture != nullptr ? PrepareTexture(texture) : nullptr;
    D3DSucceeded(device_->SetTexture(static_cast<DWORD>(stage), handle), "SetTexture");
}

IDirect3DBaseTexture9* D3D9Renderer::PrepareTexture(BaseTexture* texture) {
    RendererBinding& binding = texture->GetBinding();
    auto* handle = static_cast<IDirect3DBaseTexture9*>(binding.GetHandle());
    if (handle != nullptr) {
        if (binding.IsDirty()) UploadTexture(texture, handle);
        return handle;
    }
    if (IsRefused(binding)) return nullptr;
    const Rtti* type = texture->GetRtti();
    if (type->IsDerivedFrom(CubeTexture::TYPE)) {
        handle = CreateCubeTexture(static_cast<CubeTexture*>(texture));
    } else if (type->IsDerivedFrom(VolumeTexture::TYPE)) {
        handle = CreateVolumeTexture(static_cast<VolumeTexture*>(texture));
    } else if (type->IsDerivedFrom(Texture::TYPE)) {
        handle = CreatePlainTexture(static_cast<Texture*>(texture));
    }
    if (handle == nullptr) return nullptr;
    Remember(texture, binding, handle);
    texture->SetMipLevels(static_cast<int32_t>(handle->GetLevelCount()));
    UploadTexture(texture, handle);
    return handle;
}

IDirect3DBaseTexture9* D3D9Renderer::CreatePlainTexture(Texture* texture) {
    const Image* image = texture->GetImage();
    const D3DFORMAT format = TextureFormatOf(image);
    if (format == D3DFMT_UNKNOWN) return nullptr;
    IDirect3DTexture9* created = nullptr;
    if (!D3DSucceeded(device_->CreateTexture(static_cast<UINT>(image->GetWidth()), static_cast<UINT>(image->GetHeight()),
                                             static_cast<UINT>(texture->GetMipLevels()), 0, format, D3DPOOL_MANAGED,
                                             &created, nullptr),
                      "CreateTexture"))
        return RefusedTexture(texture);
    return created;
}

IDirect3DBaseTexture9* D3D9Renderer::CreateCubeTexture(CubeTexture* texture) {
    const Image* image = texture->GetImage();
    const D3DFORMAT format = TextureFormatOf(image);
    if (format == D3DFMT_UNKNOWN || !HoldsCubeFaces(image)) return nullptr;
    IDirect3DCubeTexture9* created = nullptr;
    if (!D3DSucceeded(device_->CreateCubeTexture(static_cast<UINT>(image->GetWidth()),
                                                 static_cast<UINT>(texture->GetMipLevels()), 0, format,
                                                 D3DPOOL_MANAGED, &created, nullptr),
                      "CreateCubeTexture"))
        return RefusedTexture(texture);
    return created;
}

IDirect3DBaseTexture9* D3D9Renderer::CreateVolumeTexture(VolumeTexture* texture) {
    const VolumeImage* image = texture->GetImage(false);
    const D3DFORMAT format = TextureFormatOf(image);
    if (format == D3DFMT_UNKNOWN || image->GetDepth() <= 0) return nullptr;
    IDirect3DVolumeTexture9* created = nullptr;
    if (!D3DSucceeded(device_->CreateVolumeTexture(
                          static_cast<UINT>(image->GetWidth()), static_cast<UINT>(image->GetHeight()),
                          static_cast<UINT>(image->GetDepth()), static_cast<UINT>(texture->GetMipLevels()), 0,
                          format, D3DPOOL_MANAGED, &created, nullptr),
                      "CreateVolumeTexture"))
        return RefusedTexture(texture);
    return created;
}

// Level 0 from the image, the lower levels by the mip filter; a failed
// upload leaves the texture dirty, so the next bind tries again.
bool D3D9Renderer::UploadTexture(BaseTexture* texture, IDirect3DBaseTexture9* handle) {
    bool uploaded = false;
    const Rtti* type = texture->GetRtti();
    if (type->IsDerivedFrom(CubeTexture::TYPE)) {
        uploaded = UploadCube(static_cast<CubeTexture*>(texture), static_cast<IDirect3DCubeTexture9*>(handle));
    } else if (type->IsDerivedFrom(VolumeTexture::TYPE)) {
        const VolumeImage* image = static_cast<VolumeTexture*>(texture)->GetImage(false);
        uploaded = TextureFormatOf(image) != D3DFMT_UNKNOWN &&
                   CopyToBox(static_cast<IDirect3DVolumeTexture9*>(handle), *image);
    } else if (type->IsDerivedFrom(Texture::TYPE)) {
        auto* plain = static_cast<IDirect3DTexture9*>(handle);
        // A render target's pixels come from drawing, not from its image.
        if (IsRenderTargetTexture(plain)) {
            texture->GetBinding().SetDirty(false);
            return true;
        }
        const Image* image = static_cast<Texture*>(texture)->GetImage();
        uploaded = TextureFormatOf(image) != D3DFMT_UNKNOWN && CopyToSurface(plain, *image);
    }
    if (!uploaded) return false;
    FilterMipLevels(handle);
    texture->GetBinding().SetDirty(false);
    return true;
}

// The faces are written straight into the managed cube: UpdateTexture
// only copies into default-pool textures, so a system-memory copy cannot
// reach a managed one.
bool D3D9Renderer::UploadCube(CubeTexture* texture, IDirect3DCubeTexture9* handle) {
    const Image* image = texture->GetImage();
    if (TextureFormatOf(image) == D3DFMT_UNKNOWN || !HoldsCubeFaces(image)) return false;
    return CopyToFaces(handle, *image);
}

}  // namespace zel
