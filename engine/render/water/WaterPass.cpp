#include "engine/render/water/WaterPass.h"

#include <cmath>

#include "engine/core/Stream.h"
#include "engine/render/Renderer.h"
#include "engine/render/material/NormalmapTextureEffect.h"
#include "engine/scene/Camera.h"

namespace zel {

void WaterRipple::Write(Stream& stream) const {
    stream.WriteVector2(scale);
    stream.WriteFloat(radius);
    stream.WriteFloat(angularSpeed);
}

void WaterRipple::Read(Stream& stream) {
    stream.ReadVector2(scale);
    stream.ReadFloat(radius);
    stream.ReadFloat(angularSpeed);
}

WaterPass::WaterPass(NormalmapTextureEffect* effect, const MaterialPrograms& programs, const WaterRipple& ripple,
                     uint32_t clampStages, uint32_t wrapStages, const RendererCapabilities& caps)
    : MaterialShaderPass(effect, programs, caps),
      water_(effect),
      ripple_(ripple),
      clampStages_(clampStages),
      wrapStages_(wrapStages) {}

void WaterPass::Refresh() {
    MaterialShaderPass::Refresh();
    RenderStateBlock* block = GetRenderStateBlock();
    if (block == nullptr) return;
    for (int32_t i = 0; i < RenderStateBlock::kTextureStages; ++i) {
        if ((clampStages_ >> i) & 1u) block->stages[i].SetAddress(TextureStage::kClamp);
        if ((wrapStages_ >> i) & 1u) block->stages[i].SetAddress(TextureStage::kWrap);
    }
}

void WaterPass::SetWaterConstants(Renderer& renderer, const MaterialFrame& frame) const {
    const Vector3 eye = frame.ObjectPoint(frame.camera->GetPosition());
    const float angle = ripple_.angularSpeed * water_->effectTime;
    SetVertexRegister(renderer, 8, water_->GetColor());
    SetVertexRegister(renderer, 9, eye.x, eye.y, eye.z, 1.0f);
    SetVertexRegister(renderer, 10, ripple_.scale.x, ripple_.scale.y, ripple_.radius * std::sin(angle),
                      ripple_.radius * std::cos(angle));
    SetFogRegister(renderer, 11);
}

}  // namespace zel
