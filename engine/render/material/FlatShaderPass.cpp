#include "engine/render/material/FlatShaderPass.h"

#include "engine/render/Renderer.h"
#include "engine/render/material/ColorEffect.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

FlatShaderPass::FlatShaderPass(ColorEffect* effect, const MaterialPrograms& programs, int32_t layers,
                               const RendererCapabilities& caps)
    : MaterialShaderPass(effect, programs, caps), color_(effect), layers_(layers) {}

int32_t FlatShaderPass::Draw(Renderer& renderer) {
    MaterialFrame frame;
    if (!BeginDraw(renderer, frame)) return 1;
    MaterialSlots slots;
    color_->GetSlots(slots);
    renderer.SetIndexBuffer(frame.node->GetIndices());
    if (layers_ >= 1) BindTextureSlot(renderer, *frame.node, slots.texture, 0, 0);
    if (layers_ >= 2) BindTextureSlot(renderer, *frame.node, slots.lightmap, 1, 1);
    BindGeometry(renderer, frame, false);
    BindPrograms(renderer);
    SetTransforms(renderer, frame);
    if (frame.skinned) {
        SetVertexRegister(renderer, kSkinnedColorRegister, color_->GetColor());
        SetFogRegister(renderer, kSkinnedFogRegister);
        return 0;
    }
    SetVertexRegister(renderer, 8, color_->GetColor());
    SetFogRegister(renderer, 9);
    if (GetVariant() == Variant::kWave) SetWaveRegister(renderer, 10);
    return 0;
}

}  // namespace zel
