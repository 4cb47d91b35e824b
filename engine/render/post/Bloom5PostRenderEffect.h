// A post-render effect that adds a glow: the children are captured into the
// screen texture, which is shrunk (its alpha the capped luminance), blurred
// horizontally and vertically with a 5-tap filter and added back over the
// image. Needs shader level 2.0 on both sides; otherwise only the film frame
// of PostRenderEffect.
#pragma once

#include "engine/math/Color.h"
#include "engine/render/post/PostRenderEffect.h"
#include "engine/render/shader/PixelShader.h"
#include "engine/render/shader/VertexShader.h"

namespace zel {

class Bloom5PostRenderEffect : public PostRenderEffect {
    ZEL_DECLARE_RTTI

public:
    Bloom5PostRenderEffect();

    // Parent data, then the luminance cap, bloom alpha weight, blur spread,
    // bloom weight, scene weight, the tint and the downsample scale.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // After the capture: the bloom textures at downsample scale × the screen
    // texture's size (made anew when that changed), then downsample, blur
    // twice and composite into the frame.
    void Glow(Renderer& renderer);

    Texture* GetDownsampleTexture() const { return downsample_; }
    Texture* GetBlurTexture() const { return blur_; }

    float luminanceCap = 0.5f;
    float bloomAlphaWeight = 1.0f;
    float blurSpread = 1.5f;
    float bloomWeight = 0.5f;
    float sceneWeight = 0.5f;
    ColorRGBA bloomTint{1.0f, 1.0f, 1.0f, 1.0f};
    float downsampleScale = 0.25f;

private:
    void FitBloomTextures();
    // Draws the quad into `target` with the programs and `source` on stage 0
    // (the screen texture from BindQuad when null).
    void DrawInto(Renderer& renderer, Texture* target, VertexShader* vs, PixelShader* ps, Texture* source);

    Pointer<Texture> downsample_;
    Pointer<Texture> blur_;
    Pointer<VertexShader> downsampleVs_;
    Pointer<PixelShader> downsamplePs_;
    Pointer<VertexShader> blurVs_;
    Pointer<PixelShader> blurPs_;
    Pointer<VertexShader> compositeVs_;
    Pointer<PixelShader> compositePs_;
};
ZEL_REGISTER_CLASS(Bloom5PostRenderEffect)

}  // namespace zel
