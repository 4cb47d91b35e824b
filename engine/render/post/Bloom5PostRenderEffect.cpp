#include "engine/render/post/Bloom5PostRenderEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/Pass.h"
#include "engine/render/Renderer.h"
#include "engine/render/Technique.h"
#include "engine/render/program/BloomPrograms.h"

namespace zel {

ZEL_DEFINE_RTTI(Bloom5PostRenderEffect, PostRenderEffect)

namespace {

// Pass 0 starts the capture and clears it; the children are drawn into it.
class CapturePass : public Pass {
public:
    explicit CapturePass(Bloom5PostRenderEffect* effect) : effect_(effect) {}

    int32_t Draw(Renderer& renderer) override {
        effect_->BeginCapture(renderer);
        renderer.Clear(Renderer::kClearColor | Renderer::kClearDepth, renderer.GetClearColor(), 1.0f, 0);
        renderer.DrawUnindexed(0);
        return 0;
    }

private:
    Bloom5PostRenderEffect* effect_;  // not owning: the effect owns the pass
};

// Pass 1 turns the capture into the frame with the glow; draws itself.
class GlowPass : public Pass {
public:
    explicit GlowPass(Bloom5PostRenderEffect* effect) : effect_(effect) {
        if (RenderStateBlock* block = GetRenderStateBlock()) {
            // The quad covers everything: no depth, no culling, clamped
            // lookups of all three textures.
            block->depthTest = false;
            block->depthWrite = false;
            block->cullEnable = false;
            for (int32_t stage = 0; stage < 2; ++stage) {
                block->stages[stage].SetAddress(TextureStage::kClamp);
                block->stages[stage].minificationFilter = TextureStage::kLinear;
            }
        }
    }

    int32_t Draw(Renderer& renderer) override {
        effect_->Glow(renderer);
        return 1;
    }

private:
    Bloom5PostRenderEffect* effect_;  // not owning: the effect owns the pass
};

class BloomTechnique : public Technique {
public:
    explicit BloomTechnique(Bloom5PostRenderEffect* effect) : Technique(effect), bloom_(effect) {}

    bool Init(const Renderer& renderer) override {
        const RendererCapabilities& caps = renderer.GetCapabilities();
        if (!RendererCapabilities::IsLevel2OrAbove(caps.vertexShaderLevel) ||
            !RendererCapabilities::IsLevel2OrAbove(caps.pixelShaderLevel))
            return false;
        return AddPass(new (std::nothrow) CapturePass(bloom_)) == kOk &&
               AddPass(new (std::nothrow) GlowPass(bloom_)) == kOk && GetPassCount() == 2;
    }

private:
    Bloom5PostRenderEffect* bloom_;  // not owning: the effect owns the technique
};

void SetPixelRegister(Renderer& renderer, int32_t index, float x, float y, float z, float w) {
    const float values[4] = {x, y, z, w};
    renderer.SetPixelShaderConstants(index, values, 1);
}

void SetVertexRegister(Renderer& renderer, int32_t index, float x, float y) {
    const float values[4] = {x, y, 0.0f, 0.0f};
    renderer.SetVertexShaderConstants(index, values, 1);
}

int32_t WidthOf(const Texture* texture) { return texture->GetImage() != nullptr ? texture->GetImage()->GetWidth() : 0; }
int32_t HeightOf(const Texture* texture) {
    return texture->GetImage() != nullptr ? texture->GetImage()->GetHeight() : 0;
}

}  // namespace

Bloom5PostRenderEffect::Bloom5PostRenderEffect()
    : downsampleVs_(MakeShader<VertexShader>(kBloomDownsampleVs, "bloom_downsample.vsh")),
      downsamplePs_(MakeShader<PixelShader>(kBloomDownsamplePs, "bloom_downsample.psh")),
      blurVs_(MakeShader<VertexShader>(kBloomBlurVs, "bloom_blur.vsh")),
      blurPs_(MakeShader<PixelShader>(kBloomBlurPs, "bloom_blur.psh")),
      compositeVs_(MakeShader<VertexShader>(kBloomCompositeVs, "bloom_composite.vsh")),
      compositePs_(MakeShader<PixelShader>(kBloomCompositePs, "bloom_composite.psh")) {
    // A technique that cannot be added (out of memory) is dropped; the effect
    // runs one of the others, or draws nothing.
    (void)AddTechnique(new (std::nothrow) BloomTechnique(this));
}

void Bloom5PostRenderEffect::FitBloomTextures() {
    Texture* screen = GetScreenTexture();
    if (screen == nullptr) return;
    // A loaded scale is kept within the screen's size (NaN gives 0: no glow).
    const float scale = downsampleScale > 0.0f ? (downsampleScale < 1.0f ? downsampleScale : 1.0f) : 0.0f;
    const int32_t w = static_cast<int32_t>(scale * WidthOf(screen));
    const int32_t h = static_cast<int32_t>(scale * HeightOf(screen));
    if (downsample_ != nullptr && HasSize(downsample_, w, h)) return;
    downsample_ = MakeTargetTexture("Downsample Bloom Texture", "Downsample Bloom Image", w, h);
    blur_ = MakeTargetTexture("Blur Bloom Texture", "Blur Bloom Image", w, h);
}

void Bloom5PostRenderEffect::DrawInto(Renderer& renderer, Texture* target, VertexShader* vs, PixelShader* ps,
                                      Texture* source) {
    renderer.SetRenderTarget(target);
    renderer.SetVertexShader(vs);
    renderer.SetPixelShader(ps);
    BindQuad(renderer);
    if (source != nullptr) renderer.SetTexture(source, 0);
    renderer.DrawUnindexed(2);
    renderer.SetRenderTarget(nullptr);
}

void Bloom5PostRenderEffect::Glow(Renderer& renderer) {
    FitBloomTextures();
    // The capture ends.
    renderer.SetRenderTarget(nullptr);
    Texture* screen = GetScreenTexture();
    if (screen != nullptr && downsample_ != nullptr && blur_ != nullptr) {
        SetVertexRegister(renderer, 0, 1.0f / WidthOf(screen), 1.0f / HeightOf(screen));
        SetPixelRegister(renderer, 2, luminanceCap, 0.0f, 0.0f, 0.0f);
        DrawInto(renderer, downsample_, downsampleVs_, downsamplePs_, nullptr);
        SetVertexRegister(renderer, 0, blurSpread / WidthOf(blur_), 0.0f);
        DrawInto(renderer, blur_, blurVs_, blurPs_, downsample_);
        SetVertexRegister(renderer, 0, 0.0f, blurSpread / HeightOf(blur_));
        DrawInto(renderer, downsample_, blurVs_, blurPs_, blur_);
    }
    EndCapture(renderer);
    renderer.SetVertexShader(compositeVs_);
    renderer.SetPixelShader(compositePs_);
    renderer.SetTexture(downsample_, 1);
    SetPixelRegister(renderer, 0, sceneWeight, 0.0f, 0.0f, 0.0f);
    SetPixelRegister(renderer, 1, bloomWeight, 0.0f, 0.0f, 0.0f);
    SetPixelRegister(renderer, 2, bloomAlphaWeight, 0.0f, 0.0f, 0.0f);
    SetPixelRegister(renderer, 3, bloomTint.r, bloomTint.g, bloomTint.b, bloomTint.a);
    renderer.DrawUnindexed(2);
    RestoreViewport(renderer);
}

int32_t Bloom5PostRenderEffect::Save(Stream& stream) {
    if (PostRenderEffect::Save(stream) != 0) return SaveParentFailed();
    stream.WriteFloat(luminanceCap);
    stream.WriteFloat(bloomAlphaWeight);
    stream.WriteFloat(blurSpread);
    stream.WriteFloat(bloomWeight);
    stream.WriteFloat(sceneWeight);
    stream.WriteColor(bloomTint);
    stream.WriteFloat(downsampleScale);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно сохранить данные блюма. Имя[%s] ID[%d]");
    return kOk;
}

int32_t Bloom5PostRenderEffect::Load(Stream& stream) {
    if (PostRenderEffect::Load(stream) != 0) return LoadParentFailed();
    stream.ReadFloat(luminanceCap);
    stream.ReadFloat(bloomAlphaWeight);
    stream.ReadFloat(blurSpread);
    stream.ReadFloat(bloomWeight);
    stream.ReadFloat(sceneWeight);
    stream.ReadColor(bloomTint);
    stream.ReadFloat(downsampleScale);
    if (stream.GetErrorState() != 0) return FailWithIdName("Невозможно загрузить данные блюма. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
