#include "engine/render/material/FlatFixedPass.h"

#include <new>

#include "engine/core/Buffer.h"
#include "engine/render/Renderer.h"
#include "engine/render/material/ColorEffect.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

FlatFixedPass::FlatFixedPass(ColorEffect* effect, int32_t layers)
    : MaterialFixedPass(effect), color_(effect), layers_(layers) {}

ColorBuffer* FlatFixedPass::FillColors(GeometryNode& node) const {
    const Buffer* vertices = node.GetVertices();
    const int32_t count = vertices != nullptr ? vertices->GetCount() : 0;
    if (node.GetColors() == nullptr || node.GetColors()->GetCount() < count) {
        Pointer<ColorBuffer> made = new (std::nothrow) ColorBuffer(count, nullptr);
        if (made == nullptr || (count > 0 && made->GetElements() == nullptr)) return node.GetColors();
        node.SetColors(made);
    }
    ColorBuffer& colors = *node.GetColors();
    const ColorRGBA& color = color_->GetColor();
    bool changed = false;
    for (int32_t i = 0; i < colors.GetCount(); ++i) {
        if (colors[i] == color) continue;
        colors[i] = color;
        changed = true;
    }
    if (changed) colors.GetBinding().SetDirty(true);
    return &colors;
}

int32_t FlatFixedPass::Draw(Renderer& renderer) {
    MaterialFrame frame;
    if (!BeginDraw(renderer, frame)) return 1;
    MaterialSlots slots;
    color_->GetSlots(slots);
    ColorBuffer* colors = FillColors(*frame.node);
    renderer.SetIndexBuffer(frame.node->GetIndices());
    if (layers_ >= 1) BindTextureSlot(renderer, *frame.node, slots.texture, 0, 0);
    if (layers_ >= 2) BindTextureSlot(renderer, *frame.node, slots.lightmap, 1, 1);
    if (colors != nullptr) renderer.SetColorBuffer(colors);
    renderer.SetPositionBuffer(frame.node->GetVertices());
    SetMatrices(renderer, frame);
    return 0;
}

}  // namespace zel
