// Base of the textures: the requested mip-level count and the binding that
// holds the device texture the renderer makes from the image on first use.
#pragma once

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/core/RendererBinding.h"
#include "engine/core/Stream.h"

namespace zel {

class BaseTexture : public Object {
    ZEL_DECLARE_RTTI

public:
    // Asks the renderer holding the device texture to release it; a texture
    // never drawn makes no renderer call.
    ~BaseTexture() override;

    // Parent data and the level count. Loading reads the count and then
    // resets it to 0, so every loaded texture gets a full mip chain.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // 0: the full chain down to 1 × 1. The renderer stores the actual count
    // once the device texture exists.
    int32_t GetMipLevels() const { return mipLevels_; }
    void SetMipLevels(int32_t levels) { mipLevels_ = levels; }

    // The next bind uploads the image again into the existing device
    // texture.
    void MarkDirty() { binding_.SetDirty(true); }
    RendererBinding& GetBinding() { return binding_; }

protected:
    // After an image change: level count 0 and the device texture released,
    // so the next use creates it anew.
    void ImageReplaced();
    // Save and load of the derived classes: this class's part, then the
    // image link; a successful load logs the texture's INFO line.
    int32_t SaveWithImage(Stream& stream, Object* image);
    template <class I>
    int32_t LoadWithImage(Stream& stream, Pointer<I>& image);

private:
    RendererBinding binding_;
    int32_t mipLevels_ = 0;
};
ZEL_REGISTER_ABSTRACT_CLASS(BaseTexture)

template <class I>
int32_t BaseTexture::LoadWithImage(Stream& stream, Pointer<I>& image) {
    if (BaseTexture::Load(stream) != 0) return LoadParentFailed();
    Pointer<I> read;
    if (stream.ReadLinkAs(read) != 0)
        return FailWithIdName("Невозможно загрузить изображение текстуры. ID[%d] Имя[%s]");
    image = read;
    LogInfo("Текстура [%s] загружена.", GetName().CStr());
    return kOk;
}

}  // namespace zel
