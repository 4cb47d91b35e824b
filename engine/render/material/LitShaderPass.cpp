#include "engine/render/material/LitShaderPass.h"

#include "engine/render/Renderer.h"
#include "engine/render/material/TextureEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/GeometryNode.h"
#include "engine/scene/Light.h"

namespace zel {

namespace {

constexpr float kE = 2.7182817f;
// Where the self-shadow factor reaches 1: N.L = 0.125.
constexpr float kSelfShadowEdge = 0.125f;

}  // namespace

LitShaderPass::LitShaderPass(TextureEffect* effect, const MaterialPrograms& programs, bool normalMapped,
                             const RendererCapabilities& caps)
    : MaterialShaderPass(effect, programs, caps), texture_(effect), normalMapped_(normalMapped) {}

LitShaderPass::LightTerms LitShaderPass::TermsOf(const Light* light, const MaterialFrame& frame) {
    LightTerms terms;
    if (light == nullptr) return terms;
    terms.ambient = light->GetAmbient();
    terms.diffuse = light->GetDiffuse();
    terms.specular = light->GetSpecular();
    // The programs want the way to the light, against the way it shines, so
    // that they light a surface as the device's own lighting does.
    terms.toLight = -frame.ObjectDirection(light->GetShiningDirection());
    return terms;
}

int32_t LitShaderPass::Draw(Renderer& renderer) {
    MaterialFrame frame;
    if (!BeginDraw(renderer, frame)) return 1;
    MaterialSlots slots;
    texture_->GetSlots(slots);
    const bool normalMap = normalMapped_ && UsesLevel20();
    GeometryNode& node = *frame.node;
    renderer.SetIndexBuffer(node.GetIndices());
    BindTextureSlot(renderer, node, slots.texture, 0, 0);
    if (normalMap) {
        BindTextureSlot(renderer, node, slots.normalmap, 1, 1);
        BindTangents(renderer, frame, 2);
        if (slots.lightmap.IsThere()) BindTextureSlot(renderer, node, slots.lightmap, 3, 2);
    } else if (slots.lightmap.IsThere()) {
        BindTextureSlot(renderer, node, slots.lightmap, 1, 1);
    }
    BindGeometry(renderer, frame, true);
    BindPrograms(renderer);
    SetTransforms(renderer, frame);
    const LightTerms light = TermsOf(slots.GetLight(), frame);
    if (normalMap)
        SetNormalMapConstants(renderer, frame, light);
    else if (UsesLevel20())
        SetPerPixelConstants(renderer, frame, light);
    else
        SetPerVertexConstants(renderer, frame, light);
    return 0;
}

void LitShaderPass::SetPerVertexConstants(Renderer& renderer, const MaterialFrame& frame,
                                          const LightTerms& light) const {
    const RenderStateBlock& block = *GetRenderStateBlock();
    const Vector3 eye = frame.ObjectPoint(frame.camera->GetPosition());
    SetVertexRegister(renderer, 8, block.ambient);
    SetVertexRegister(renderer, 9, block.diffuse);
    SetVertexRegister(renderer, 10, block.specular);
    SetVertexRegister(renderer, 11, block.emissive);
    SetVertexRegister(renderer, 12, block.power, 0.0f, 0.0f, 0.0f);
    SetVertexRegister(renderer, 13, light.ambient);
    SetVertexRegister(renderer, 14, light.diffuse);
    SetVertexRegister(renderer, 15, light.specular);
    SetVertexRegister(renderer, 16, light.toLight.x, light.toLight.y, light.toLight.z, 0.0f);
    SetVertexRegister(renderer, 17, eye.x, eye.y, eye.z, 1.0f);
    SetFogRegister(renderer, 18);
    SetVertexRegister(renderer, 19, 0.0f, kE, 0.0f, 0.0f);
    if (GetVariant() == Variant::kWave) SetWaveRegister(renderer, 20);
}

void LitShaderPass::SetPerPixelConstants(Renderer& renderer, const MaterialFrame& frame,
                                         const LightTerms& light) const {
    const RenderStateBlock& block = *GetRenderStateBlock();
    const Vector3 eye = frame.ObjectPoint(frame.camera->GetPosition());
    if (frame.skinned) {
        SetVertexRegister(renderer, kSkinnedColorRegister, eye.x, eye.y, eye.z, 1.0f);
        SetFogRegister(renderer, kSkinnedFogRegister);
    } else {
        SetVertexRegister(renderer, 8, eye.x, eye.y, eye.z, 1.0f);
        SetFogRegister(renderer, 9);
        if (GetVariant() == Variant::kWave) SetWaveRegister(renderer, 10);
    }
    SetPixelRegister(renderer, 0, light.specular);
    SetPixelRegister(renderer, 1, block.specular);
    SetPixelRegister(renderer, 2, light.toLight.x, light.toLight.y, light.toLight.z, 0.0f);
    SetPixelRegister(renderer, 4, block.power, 0.0f, 0.0f, 0.0f);
    SetPixelRegister(renderer, 5, block.ambient);
    SetPixelRegister(renderer, 6, light.ambient);
    SetPixelRegister(renderer, 7, block.diffuse);
    SetPixelRegister(renderer, 8, light.diffuse);
    SetPixelRegister(renderer, 9, block.emissive);
}

void LitShaderPass::SetNormalMapConstants(Renderer& renderer, const MaterialFrame& frame,
                                          const LightTerms& light) const {
    const RenderStateBlock& block = *GetRenderStateBlock();
    const Vector3 eye = frame.ObjectPoint(frame.camera->GetPosition());
    const Vector3& l = light.toLight;
    if (frame.skinned) {
        SetVertexRegister(renderer, kSkinnedColorRegister, eye.x, eye.y, eye.z, 1.0f);
        SetFogRegister(renderer, kSkinnedFogRegister);
        SetVertexRegister(renderer, kSkinnedLightRegister, l.x, l.y, l.z, 0.0f);
    } else {
        SetVertexRegister(renderer, 8, eye.x, eye.y, eye.z, 1.0f);
        SetVertexRegister(renderer, 9, l.x, l.y, l.z, 0.0f);
        SetFogRegister(renderer, 10);
        SetVertexRegister(renderer, 11, 0.0f, kSelfShadowEdge, 1.0f, kE);
        if (GetVariant() == Variant::kWave) SetWaveRegister(renderer, 12);
    }
    SetPixelRegister(renderer, 0, block.ambient);
    SetPixelRegister(renderer, 1, light.ambient);
    SetPixelRegister(renderer, 2, block.diffuse);
    SetPixelRegister(renderer, 3, light.diffuse);
    SetPixelRegister(renderer, 5, block.specular);
    SetPixelRegister(renderer, 6, light.specular);
    SetPixelRegister(renderer, 7, block.power, 0.0f, 0.0f, 0.0f);
    SetPixelRegister(renderer, 8, block.emissive);
}

}  // namespace zel
