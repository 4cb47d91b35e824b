#include "tools/content/show/ShowNodes.h"

#include <new>

#include "engine/render/material/ColorEffect.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"
#include "tools/content/show/MeshBuilder.h"

namespace zel {

Pointer<SceneNode> MakeGroup(const char* name) { return new (std::nothrow) SceneNode(String(name), 0, 4); }

bool AddChild(SceneNode* parent, Node* child) {
    return parent != nullptr && child != nullptr && parent->AppendChild(child) == 0;
}

Pointer<Triangles> MakeShape(const MeshBuilder& mesh, const char* name, GeometryNodeEffect* effect, bool secondSet,
                             bool tangents) {
    Pointer<Triangles> node = mesh.Build(String(name), secondSet, tangents);
    if (node == nullptr || effect == nullptr) return nullptr;
    node->SetEffect(effect);
    return node;
}

Pointer<ColorEffect> PlainColor(const ColorRGBA& color) {
    Pointer<ColorEffect> effect = new (std::nothrow) ColorEffect();
    if (effect != nullptr) effect->SetColor(color);
    return effect;
}

void MakeGlowing(GeometryNodeEffect& effect) {
    effect.blendEnable = true;
    effect.sourceFactor = RenderStateBlock::kSourceAlpha;
    effect.destinationFactor = RenderStateBlock::kOne;
    effect.depthWrite = false;
    effect.cullEnable = false;
}

}  // namespace zel
