#include "engine/render/material/MaterialPass.h"

#include "engine/render/Renderer.h"
#include "engine/render/program/SharedShaders.h"
#include "engine/render/texture/Texture.h"
#include "engine/scene/Camera.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

namespace {

bool HasTexts(const MaterialProgramLevels& levels) {
    return levels.level1x.vertex != nullptr || levels.level20.vertex != nullptr;
}

bool FrameOf(const GeometryNodeEffect& effect, Renderer& renderer, MaterialFrame& frame) {
    frame.node = effect.GetOwnerNode();
    frame.camera = renderer.GetCamera();
    if (frame.node == nullptr || frame.camera == nullptr) return false;
    frame.world = frame.node->GetWorld().ToMatrix();
    frame.toObject = frame.world.Inverse();
    return true;
}

}  // namespace

void SetMatrixRegisters(Renderer& renderer, int32_t first, const Matrix4& matrix) {
    // Registers hold columns: a program's dp4 with register i gives
    // coordinate i of the row vector times the matrix.
    const Matrix4 columns = matrix.Transposed();
    renderer.SetVertexShaderConstants(first, &columns.m[0][0], 4);
}

MaterialShaderPass::MaterialShaderPass(GeometryNodeEffect* effect, const MaterialPrograms& programs,
                                       const RendererCapabilities& caps)
    : GeometryNodeEffectPass(effect),
      programs_(programs),
      level20_(RendererCapabilities::IsLevel2OrAbove(caps.vertexShaderLevel) &&
               RendererCapabilities::IsLevel2OrAbove(caps.pixelShaderLevel)) {}

void MaterialShaderPass::Refresh() {
    GeometryNodeEffectPass::Refresh();
    const GeometryNodeEffect* effect = GetEffect();
    if (effect == nullptr) return;
    variant_ = Variant::kBasic;
    if (effect->GetWave() && HasTexts(programs_.wave))
        variant_ = Variant::kWave;
    else if (effect->GetSkinController() != nullptr && level20_ && programs_.skinned.level20.vertex != nullptr)
        variant_ = Variant::kSkinned;
    const MaterialProgramLevels& levels = variant_ == Variant::kWave      ? programs_.wave
                                          : variant_ == Variant::kSkinned ? programs_.skinned
                                                                          : programs_.basic;
    // Level-2.0 texts where the device has them both; the 1.x texts run
    // everywhere; a family with level-2.0 texts only (water) needs its
    // technique to have checked the levels.
    level20Used_ = levels.level1x.vertex == nullptr || (level20_ && levels.level20.vertex != nullptr);
    const MaterialProgramPair& pair = level20Used_ ? levels.level20 : levels.level1x;
    // Every pass running a text shares its shader object.
    vertexShader_ = SharedShaders::Vertex(pair.vertex);
    pixelShader_ = SharedShaders::Pixel(pair.pixel);
}

bool MaterialShaderPass::BeginDraw(Renderer& renderer, MaterialFrame& frame) const {
    const GeometryNodeEffect* effect = GetEffect();
    if (effect == nullptr || !FrameOf(*effect, renderer, frame)) return false;
    frame.skinned = variant_ == Variant::kSkinned && effect->GetSkinStreams(frame.skin);
    if (frame.skinned) frame.world = frame.toObject = Matrix4::Identity();
    return true;
}

void MaterialShaderPass::BindGeometry(Renderer& renderer, const MaterialFrame& frame, bool normals) const {
    if (frame.skinned) {
        renderer.SetPositionBuffer(frame.skin.positions);
        renderer.SetBlendWeightBuffer(frame.skin.weights);
        renderer.SetBlendIndexBuffer(frame.skin.boneIndices);
        if (normals) renderer.SetNormalBuffer(frame.skin.normals);
        return;
    }
    renderer.SetPositionBuffer(frame.node->GetVertices());
    if (normals) renderer.SetNormalBuffer(frame.node->GetNormals());
}

void MaterialShaderPass::BindTangents(Renderer& renderer, const MaterialFrame& frame, uint8_t set) const {
    Vector3Buffer* tangents = frame.skinned ? frame.skin.tangents : frame.node->GetTangents();
    if (tangents != nullptr) renderer.SetTexCoordBuffer(tangents, set);
}

void MaterialShaderPass::BindPrograms(Renderer& renderer) {
    renderer.SetVertexShader(vertexShader_);
    renderer.SetPixelShader(pixelShader_);
}

void MaterialShaderPass::SetTransforms(Renderer& renderer, const MaterialFrame& frame) const {
    const Matrix4 worldView = frame.world * frame.camera->GetView();
    SetMatrixRegisters(renderer, 0, worldView * frame.camera->GetProjection());
    SetMatrixRegisters(renderer, 4, worldView);
    if (!frame.skinned) return;
    const int32_t bones = frame.skin.boneCount < kMaxProgramBones ? frame.skin.boneCount : kMaxProgramBones;
    for (int32_t k = 0; k < bones; ++k) SetMatrixRegisters(renderer, kFirstBoneRegister + 4 * k, frame.skin.palette[k]);
}

void MaterialShaderPass::SetVertexRegister(Renderer& renderer, int32_t index, float x, float y, float z, float w) {
    const float value[4] = {x, y, z, w};
    renderer.SetVertexShaderConstants(index, value, 1);
}

void MaterialShaderPass::SetVertexRegister(Renderer& renderer, int32_t index, const ColorRGBA& color) {
    SetVertexRegister(renderer, index, color.r, color.g, color.b, color.a);
}

void MaterialShaderPass::SetPixelRegister(Renderer& renderer, int32_t index, float x, float y, float z, float w) {
    const float value[4] = {x, y, z, w};
    renderer.SetPixelShaderConstants(index, value, 1);
}

void MaterialShaderPass::SetPixelRegister(Renderer& renderer, int32_t index, const ColorRGBA& color) {
    SetPixelRegister(renderer, index, color.r, color.g, color.b, color.a);
}

void MaterialShaderPass::SetFogRegister(Renderer& renderer, int32_t index) const {
    const GeometryNodeEffect& e = *GetEffect();
    SetVertexRegister(renderer, index, e.fogDensity, e.fogExponent, e.waveAmplitude, e.waveSpeed);
}

void MaterialShaderPass::SetWaveRegister(Renderer& renderer, int32_t index) const {
    const GeometryNodeEffect& e = *GetEffect();
    SetVertexRegister(renderer, index, e.waveAmplitude, e.waveSpeed, e.effectTime, 0.0f);
}

bool MaterialFixedPass::BeginDraw(Renderer& renderer, MaterialFrame& frame) const {
    return GetEffect() != nullptr && FrameOf(*GetEffect(), renderer, frame);
}

void MaterialFixedPass::SetMatrices(Renderer& renderer, const MaterialFrame& frame) {
    renderer.SetProjectionMatrix(frame.camera->GetProjection());
    renderer.SetViewMatrix(frame.camera->GetView());
    renderer.SetWorldMatrix(frame.world);
}

void BindTextureSlot(Renderer& renderer, const GeometryNode& node, const MaterialTextureSlot& slot, uint8_t usage,
                     int32_t stage) {
    if (Buffer* coordinates = node.GetTexCoords(slot.set != nullptr ? *slot.set : 0))
        renderer.SetTexCoordBuffer(coordinates, usage);
    renderer.SetTexture(slot.Get(), stage);
}

}  // namespace zel
