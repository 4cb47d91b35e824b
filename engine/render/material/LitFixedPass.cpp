#include "engine/render/material/LitFixedPass.h"

#include "engine/render/Renderer.h"
#include "engine/render/material/TextureEffect.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

LitFixedPass::LitFixedPass(TextureEffect* effect, const RendererCapabilities&)
    : MaterialFixedPass(effect), texture_(effect) {}

int32_t LitFixedPass::Draw(Renderer& renderer) {
    MaterialFrame frame;
    if (!BeginDraw(renderer, frame)) return 1;
    MaterialSlots slots;
    texture_->GetSlots(slots);
    renderer.SetIndexBuffer(frame.node->GetIndices());
    BindTextureSlot(renderer, *frame.node, slots.texture, 0, 0);
    renderer.SetPositionBuffer(frame.node->GetVertices());
    renderer.SetNormalBuffer(frame.node->GetNormals());
    SetMatrices(renderer, frame);
    // The drawing of the node empties the light stack after the pass.
    if (renderer.PushLight(slots.GetLight()) == kOk) renderer.EnableLight(slots.GetLight());
    return 0;
}

LightmapOverlayPass::LightmapOverlayPass(TextureEffect* effect, const RendererCapabilities&)
    : MaterialFixedPass(effect), texture_(effect) {}

void LightmapOverlayPass::Refresh() {
    MaterialFixedPass::Refresh();
    if (RenderStateBlock* block = GetRenderStateBlock()) {
        block->blendEnable = true;
        block->sourceFactor = RenderStateBlock::kDestinationColor;
        block->destinationFactor = RenderStateBlock::kZero;
        block->depthFunction = RenderStateBlock::kEqual;
    }
}

int32_t LightmapOverlayPass::Draw(Renderer& renderer) {
    MaterialFrame frame;
    if (!BeginDraw(renderer, frame)) return 1;
    MaterialSlots slots;
    texture_->GetSlots(slots);
    renderer.SetIndexBuffer(frame.node->GetIndices());
    BindTextureSlot(renderer, *frame.node, slots.lightmap, 0, 0);
    renderer.SetPositionBuffer(frame.node->GetVertices());
    SetMatrices(renderer, frame);
    return 0;
}

}  // namespace zel
