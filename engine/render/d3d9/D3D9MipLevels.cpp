// The mip levels below level 0 of an uploaded texture, each filled from
// the level above by our box filter (no utility library at run time).
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/render/device/MipFilter.h"

namespace zel {

namespace {

// Bytes per texel of the device formats images upload to; 0 for others.
int32_t ChannelsOf(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_X8R8G8B8:
        case D3DFMT_A8R8G8B8: return 4;
        case D3DFMT_A8: return 1;
        default: return 0;
    }
}

MipSurface SurfaceOf(const D3DLOCKED_RECT& locked, UINT width, UINT height) {
    return MipSurface{static_cast<uint8_t*>(locked.pBits), static_cast<int32_t>(width), static_cast<int32_t>(height),
                      1, locked.Pitch, locked.Pitch * static_cast<int32_t>(height)};
}

// Level `level` of a plain texture (face < 0) or of a cube face, locked
// for the filter; the destructor unlocks it.
class LockedLevel {
public:
    LockedLevel(IDirect3DBaseTexture9* texture, int face, UINT level, DWORD flags)
        : texture_(texture), face_(face), level_(level) {
        if (face_ < 0) {
            auto* plain = static_cast<IDirect3DTexture9*>(texture_);
            D3DSURFACE_DESC desc{};
            locked_ = D3DSucceeded(plain->GetLevelDesc(level, &desc), "GetLevelDesc") &&
                      D3DSucceeded(plain->LockRect(level, &rect_, nullptr, flags), "LockRect");
            size_ = desc;
        } else {
            auto* cube = static_cast<IDirect3DCubeTexture9*>(texture_);
            D3DSURFACE_DESC desc{};
            locked_ = D3DSucceeded(cube->GetLevelDesc(level, &desc), "GetLevelDesc") &&
                      D3DSucceeded(cube->LockRect(static_cast<D3DCUBEMAP_FACES>(face), level, &rect_, nullptr, flags),
                                   "LockRect");
            size_ = desc;
        }
    }
    ~LockedLevel() {
        if (!locked_) return;
        if (face_ < 0)
            D3DSucceeded(static_cast<IDirect3DTexture9*>(texture_)->UnlockRect(level_), "UnlockRect");
        else
            D3DSucceeded(static_cast<IDirect3DCubeTexture9*>(texture_)
                             ->UnlockRect(static_cast<D3DCUBEMAP_FACES>(face_), level_),
                         "UnlockRect");
    }
    LockedLevel(const LockedLevel&) = delete;
    LockedLevel& operator=(const LockedLevel&) = delete;

    bool IsLocked() const { return locked_; }
    D3DFORMAT Format() const { return size_.Format; }
    MipSurface Surface() const { return SurfaceOf(rect_, size_.Width, size_.Height); }

private:
    IDirect3DBaseTexture9* texture_;
    int face_;
    UINT level_;
    bool locked_ = false;
    D3DLOCKED_RECT rect_{};
    D3DSURFACE_DESC size_{};
};

void FilterLevels(IDirect3DBaseTexture9* texture, int face) {
    for (UINT level = 1; level < texture->GetLevelCount(); ++level) {
        LockedLevel above(texture, face, level - 1, D3DLOCK_READONLY);
        LockedLevel below(texture, face, level, 0);
        const int32_t channels = ChannelsOf(above.Format());
        if (!above.IsLocked() || !below.IsLocked() || channels == 0) return;
        MipFilter::Downsample(above.Surface(), below.Surface(), channels);
    }
}

MipSurface SurfaceOf(const D3DLOCKED_BOX& locked, const D3DVOLUME_DESC& desc) {
    return MipSurface{static_cast<uint8_t*>(locked.pBits), static_cast<int32_t>(desc.Width),
                      static_cast<int32_t>(desc.Height), static_cast<int32_t>(desc.Depth), locked.RowPitch,
                      locked.SlicePitch};
}

void FilterVolumeLevels(IDirect3DVolumeTexture9* texture) {
    for (UINT level = 1; level < texture->GetLevelCount(); ++level) {
        D3DVOLUME_DESC aboveDesc{}, belowDesc{};
        D3DLOCKED_BOX above{}, below{};
        if (!D3DSucceeded(texture->GetLevelDesc(level - 1, &aboveDesc), "GetLevelDesc") ||
            !D3DSucceeded(texture->GetLevelDesc(level, &belowDesc), "GetLevelDesc"))
            return;
        const int32_t channels = ChannelsOf(aboveDesc.Format);
        if (channels == 0 || !D3DSucceeded(texture->LockBox(level - 1, &above, nullptr, D3DLOCK_READONLY), "LockBox"))
            return;
        if (D3DSucceeded(texture->LockBox(level, &below, nullptr, 0), "LockBox")) {
            MipFilter::Downsample(SurfaceOf(above, aboveDesc), SurfaceOf(below, belowDesc), channels);
            D3DSucceeded(texture->UnlockBox(level), "UnlockBox");
        }
        D3DSucceeded(texture->UnlockBox(level - 1), "UnlockBox");
    }
}

}  // namespace

void D3D9Renderer::FilterMipLevels(IDirect3DBaseTexture9* texture) {
    if (texture == nullptr || texture->GetLevelCount() <= 1) return;
    switch (texture->GetType()) {
        case D3DRTYPE_TEXTURE: FilterLevels(texture, -1); break;
        case D3DRTYPE_CUBETEXTURE:
            for (int face = 0; face < 6; ++face) FilterLevels(texture, face);
            break;
        case D3DRTYPE_VOLUMETEXTURE: FilterVolumeLevels(static_cast<IDirect3DVolumeTexture9*>(texture)); break;
        default: break;
    }
}

}  // namespace zel
