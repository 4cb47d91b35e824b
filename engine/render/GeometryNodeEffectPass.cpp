#include "engine/render/GeometryNodeEffectPass.h"

#include "engine/render/GeometryNodeEffect.h"

namespace zel {

ZEL_DEFINE_RTTI(GeometryNodeEffectPass, Pass)

void GeometryNodeEffectPass::Refresh() {
    RenderStateBlock* block = GetRenderStateBlock();
    if (effect_ != nullptr && block != nullptr) {
        const GeometryNodeEffect& e = *effect_;
        block->diffuse = e.diffuse;
        block->ambient = e.ambient;
        block->specular = e.specular;
        block->emissive = e.emissive;
        block->power = e.power;
        block->wireframe = e.wireframe;
        block->alphaTestEnable = e.alphaTest;
        block->alphaReference = e.alphaReference;
        block->alphaFunction = RenderStateBlock::kGreaterEqual;
        block->blendEnable = e.blendEnable;
        block->sourceFactor = e.sourceFactor;
        block->destinationFactor = e.destinationFactor;
        block->fogColor = e.fogColor;
        block->fogDensity = e.fogDensity;
        block->fogMode =
            e.fogExponent > 2.0f ? RenderStateBlock::kFogSquaredExponential : RenderStateBlock::kFogExponential;
        block->fogEnable = e.GetFogEnable();
        block->tableFog = false;
        block->cullEnable = e.cullEnable;
        block->depthTest = e.depthTest;
        // Blended surfaces never write depth: the flag is not kept in scene
        // files, and a loaded pane writing it would hide whatever blended
        // geometry is drawn after it inside or just behind it (a lamp's
        // glow inside its lantern glass).
        block->depthWrite = e.depthWrite && !e.blendEnable;
        for (int32_t i = 0; i < RenderStateBlock::kTextureStages; ++i) block->stages[i].SetAddress(e.stageAddressModes[i]);
    }
    Pass::Refresh();
}

}  // namespace zel
