#include "engine/render/shadow/ShadowmapEffect.h"

#include <cstdio>
#include <new>

#include "engine/core/Stream.h"
#include "engine/render/Pass.h"
#include "engine/render/Renderer.h"
#include "engine/render/Technique.h"
#include "engine/render/material/MaterialPass.h"
#include "engine/render/program/ShadowmapPrograms.h"
#include "engine/render/shadow/ShadowCulling.h"
#include "engine/render/shader/PixelShader.h"
#include "engine/render/shader/VertexShader.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "engine/scene/Triangles.h"

namespace zel {

ZEL_DEFINE_RTTI(ShadowmapEffect, SceneNodeEffect)

namespace {

constexpr uint8_t kFitToCameraBit = 1;
constexpr uint8_t kSoftBit = 2;

// Makes the auxiliary node current and closes the pass's recording without
// drawing; the scene node's children are drawn next.
class CloseRecordingPass : public Pass {
public:
    explicit CloseRecordingPass(ShadowmapEffect* effect) : effect_(effect) {}

    int32_t Draw(Renderer& renderer) override {
        GeometryNode* node = effect_->GetAuxiliaryNode();
        if (node != nullptr) {
            renderer.SetCurrentGeometry(node);
            renderer.SetPositionBuffer(node->GetVertices());
            renderer.SetIndexBuffer(node->GetIndices());
        }
        renderer.DrawUnindexed(0);
        return 0;
    }

private:
    ShadowmapEffect* effect_;  // not owning: the effect owns the pass
};

// Blends the shadow colour over the receivers' visible surfaces: depth
// test equal, no depth writes. Draws every listed node inside the current
// camera's view itself.
class ShadowReceiverPass : public Pass {
public:
    ShadowReceiverPass(ShadowmapEffect* effect, const RendererCapabilities& caps)
        : effect_(effect),
          level20_(RendererCapabilities::IsLevel2OrAbove(caps.pixelShaderLevel)),
          basicVs_(MakeShader<VertexShader>(kShadowBasicVs, "shadow_basic.vsh")),
          waveVs_(MakeShader<VertexShader>(kShadowWaveVs, "shadow_wave.vsh")),
          skinnedVs_(MakeShader<VertexShader>(kShadowSkinnedVs, "shadow_skinned.vsh")),
          hardPs_(MakeShader<PixelShader>(kShadowPs11, "shadow_hard.psh")),
          softPs_(MakeShader<PixelShader>(kShadowSoftPs, "shadow_soft.psh")) {
        Refresh();
    }

    void Refresh() override {
        Pass::Refresh();
        RenderStateBlock* block = GetRenderStateBlock();
        if (block == nullptr) return;
        block->blendEnable = true;
        block->sourceFactor = RenderStateBlock::kSourceAlpha;
        block->destinationFactor = RenderStateBlock::kInverseSourceAlpha;
        block->depthWrite = false;
        block->depthFunction = RenderStateBlock::kEqual;
        // A lit fragment blends with alpha 0 and changes nothing: the alpha
        // test drops it before the blend, which the rasterizer then skips.
        block->alphaTestEnable = true;
        block->alphaFunction = RenderStateBlock::kGreater;
        block->alphaReference = 0;
        // The shadow map on both candidate stages: clamped, filtered (the
        // device blends neighbouring comparisons), looked up projectively.
        for (int32_t stage = 0; stage < 2; ++stage) {
            TextureStage& s = block->stages[stage];
            s.SetAddress(TextureStage::kClamp);
            s.minificationFilter = TextureStage::kLinear;
            s.magnificationFilter = TextureStage::kLinear;
            s.coordinateGeneration = TextureStage::kGenerateProjective;
        }
    }

    int32_t Draw(Renderer& renderer) override {
        Texture* map = effect_->GetShadowmap();
        Camera* camera = renderer.GetCamera();
        if (map == nullptr || camera == nullptr || effect_->GetLight() == nullptr) return 1;
        BindShadowmap(renderer, *map);
        DeclareStreams(renderer);
        for (int32_t i = 0; i < effect_->GetNodes().Count(); ++i)
            DrawReceiver(renderer, *camera, effect_->GetNodes().Get(i));
        return 1;
    }

private:
    bool Soft() const { return effect_->softShadows && level20_; }

    void BindShadowmap(Renderer& renderer, Texture& map) {
        if (Soft()) {
            renderer.SetTexture(&map, 0);
            renderer.SetPixelShader(softPs_);
            const Image* image = map.GetImage();
            const float w = image != nullptr && image->GetWidth() > 0 ? image->GetWidth() : 1.0f;
            const float h = image != nullptr && image->GetHeight() > 0 ? image->GetHeight() : 1.0f;
            const float texel[4] = {1.0f / w, 1.0f / h, 0.0f, 0.0f};
            renderer.SetPixelShaderConstants(0, texel, 1);
        } else {
            renderer.SetTexture(&map, 1);
            renderer.SetPixelShader(hardPs_);
        }
    }

    // The streams every receiver program may read, so the recorded layout
    // fits all three: position, coordinates of set 0, weights, bone indices.
    void DeclareStreams(Renderer& renderer) {
        GeometryNode* aux = effect_->GetAuxiliaryNode();
        if (aux == nullptr) return;
        renderer.SetCurrentGeometry(aux);
        renderer.SetPositionBuffer(aux->GetVertices());
        renderer.SetTexCoordBuffer(aux->GetTexCoords(0), 0);
        renderer.SetBlendWeightBuffer(effect_->GetAuxiliaryStream());
        renderer.SetBlendIndexBuffer(effect_->GetAuxiliaryStream());
    }

    void DrawReceiver(Renderer& renderer, Camera& camera, GeometryNode* node) {
        if (node == nullptr || node->GetVertices() == nullptr || node->GetIndices() == nullptr) return;
        const BoundingVolume* bound = node->GetWorldBound();
        if (bound != nullptr && !InsideView(camera, *bound)) return;
        GeometryNodeEffect* material = node->GetEffect();
        const ColorRGBA& color = effect_->shadowColor;
        const float colorRegister[4] = {color.r, color.g, color.b, color.a};
        SkinStreams skin;
        renderer.SetCurrentGeometry(node);
        if (material != nullptr && material->GetSkinController() != nullptr && material->GetSkinStreams(skin) &&
            skin.positions != nullptr) {
            renderer.SetVertexShader(skinnedVs_);
            SetMatrixRegisters(renderer, 0, camera.GetViewProjection());
            const int32_t bones = skin.boneCount < kShadowMaxBones ? skin.boneCount : kShadowMaxBones;
            for (int32_t k = 0; k < bones; ++k)
                SetMatrixRegisters(renderer, kShadowFirstBoneRegister + 4 * k, skin.palette[k]);
            SetMatrixRegisters(renderer, kShadowSkinnedLightRegister, effect_->GetLightTextureMatrix());
            renderer.SetVertexShaderConstants(kShadowSkinnedColorRegister, colorRegister, 1);
            renderer.DrawIndexedStreams(skin.positions, node->GetIndices(), skin.weights, skin.boneIndices, nullptr);
            return;
        }
        const bool wave = material != nullptr && material->GetWave() && node->GetTexCoords(0) != nullptr;
        renderer.SetVertexShader(wave ? waveVs_ : basicVs_);
        const Matrix4 world = node->GetWorld().ToMatrix();
        // Multiplied in the order the material programs use, so that the
        // depths match exactly for the equal depth test.
        SetMatrixRegisters(renderer, 0, (world * camera.GetView()) * camera.GetProjection());
        SetMatrixRegisters(renderer, 4, world * effect_->GetLightTextureMatrix());
        renderer.SetVertexShaderConstants(8, colorRegister, 1);
        if (wave) {
            const float waveRegister[4] = {material->waveAmplitude, material->waveSpeed, material->effectTime, 0.0f};
            renderer.SetVertexShaderConstants(9, waveRegister, 1);
        }
        renderer.DrawIndexedStreams(node->GetVertices(), node->GetIndices(), nullptr, nullptr,
                                    wave ? node->GetTexCoords(0) : nullptr);
    }

    ShadowmapEffect* effect_;  // not owning: the effect owns the pass
    bool level20_;
    Pointer<VertexShader> basicVs_;
    Pointer<VertexShader> waveVs_;
    Pointer<VertexShader> skinnedVs_;
    Pointer<PixelShader> hardPs_;
    Pointer<PixelShader> softPs_;
};

// Hardware shadow maps and shaders: close the recording, then the receivers.
class ShadowTechnique : public Technique {
public:
    explicit ShadowTechnique(ShadowmapEffect* effect) : Technique(effect), shadow_(effect) {}

    bool Init(const Renderer& renderer) override {
        const RendererCapabilities& caps = renderer.GetCapabilities();
        if (!caps.hardwareShadowMaps || !caps.HasShaders()) return false;
        return AddPass(new (std::nothrow) CloseRecordingPass(shadow_)) == kOk &&
               AddPass(new (std::nothrow) ShadowReceiverPass(shadow_, caps)) == kOk && GetPassCount() == 2;
    }

private:
    ShadowmapEffect* shadow_;  // not owning: the effect owns the technique
};

// Anything else: the children drawn as they are, nothing darkened.
class UnshadowedTechnique : public Technique {
public:
    explicit UnshadowedTechnique(ShadowmapEffect* effect) : Technique(effect), shadow_(effect) {}

    bool Init(const Renderer&) override {
        return AddPass(new (std::nothrow) CloseRecordingPass(shadow_)) == kOk && GetPassCount() == 1;
    }

private:
    ShadowmapEffect* shadow_;  // not owning: the effect owns the technique
};

// One triangle with every stream the receiver pass declares.
GeometryNode* MakeAuxiliaryNode() {
    Triangles* node = new (std::nothrow) Triangles(String("Shadowmap auxiliary"));
    if (node == nullptr) return nullptr;
    Vector3Buffer* positions = new (std::nothrow) Vector3Buffer(3, nullptr);
    Vector2Buffer* coordinates = new (std::nothrow) Vector2Buffer(3, nullptr);
    IntBuffer* indices = new (std::nothrow) IntBuffer(3, nullptr);
    node->SetVertices(positions);
    node->SetTexCoords(0, coordinates);
    if (indices != nullptr && indices->GetElements() != nullptr)
        for (int32_t i = 0; i < 3; ++i) (*indices)[i] = i;
    node->SetIndices(indices);
    return node;
}

}  // namespace

ShadowmapEffect::ShadowmapEffect()
    : lightCamera_(new (std::nothrow) Camera(String("Shadowmap light camera"))),
      auxiliary_(MakeAuxiliaryNode()),
      auxiliaryStream_(new (std::nothrow) Vector4Buffer(3, nullptr)) {
    // A technique that cannot be added (out of memory) is dropped; the effect
    // runs one of the others, or draws nothing.
    (void)AddTechnique(new (std::nothrow) UnshadowedTechnique(this));
    (void)AddTechnique(new (std::nothrow) ShadowTechnique(this));
}

void ShadowmapEffect::SetShadowmap(Texture* shadowmap) {
    if (shadowmap != shadowmap_.Get()) colorTarget_ = nullptr;
    shadowmap_ = shadowmap;
}

Texture* ShadowmapEffect::GetColorTarget() {
    const Image* map = shadowmap_ != nullptr ? shadowmap_->GetImage() : nullptr;
    if (map == nullptr) return nullptr;
    if (colorTarget_ == nullptr) {
        static int32_t made = 0;
        char name[32];
        std::snprintf(name, sizeof name, "Shadowmap %d", made++);
        Image* image = new (std::nothrow) Image(String(name), Image::kFormatRGBA, map->GetWidth(), map->GetHeight());
        if (image == nullptr) return nullptr;
        colorTarget_ = new (std::nothrow) Texture(image, String(name));
        // The shadow map is the depth surface.
        if (colorTarget_ != nullptr) colorTarget_->SetOwnDepthBuffer(false);
    }
    return colorTarget_;
}

void ShadowmapEffect::FitBound(Vector3& center, float& radius) const {
    SphereBoundingVolume sphere;
    bool first = true;
    for (int32_t i = 0; i < nodes_.Count(); ++i) {
        const BoundingVolume* bound = nodes_.Get(i)->GetWorldBound();
        if (bound == nullptr) continue;
        if (first) sphere.CopyFrom(bound);
        else sphere.Merge(bound);
        first = false;
    }
    center = sphere.GetCenter();
    radius = sphere.GetRadius();
}

Object* ShadowmapEffect::FindByName(const String& name) {
    if (Object* found = SceneNodeEffect::FindByName(name)) return found;
    if (Object* found = FindIn(light_, name)) return found;
    if (Object* found = FindIn(shadowmap_, name)) return found;
    return nodes_.FindByName(name);
}

void ShadowmapEffect::VisitLinks(LinkVisitor& visitor) {
    SceneNodeEffect::VisitLinks(visitor);
    VisitLink(light_, visitor);
    VisitLink(shadowmap_, visitor);
    VisitLink(colorTarget_, visitor);
    nodes_.VisitLinks(visitor);
    VisitLink(lightCamera_, visitor);
    VisitLink(auxiliary_, visitor);
    VisitLink(auxiliaryStream_, visitor);
}

int32_t ShadowmapEffect::Save(Stream& stream) {
    if (SceneNodeEffect::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteLink(light_) != 0) return FailWithNameId("Невозможно сохранить источник света. Имя[%s] ID[%d]");
    if (stream.WriteLink(shadowmap_) != 0) return FailWithNameId("Невозможно сохранить шадамап. Имя[%s] ID[%d]");
    stream.WriteColor(shadowColor);
    stream.WriteUInt8(static_cast<uint8_t>((fitToCamera ? kFitToCameraBit : 0) | (softShadows ? kSoftBit : 0)));
    stream.WriteFloat(depthBias);
    stream.WriteFloat(slopeScaleBias);
    stream.WriteFloat(fitThreshold);
    if (stream.GetErrorState() != 0 || nodes_.Save(stream) != kOk)
        return FailWithNameId("Невозможно сохранить узлы. Имя[%s] ID[%d]");
    return kOk;
}

int32_t ShadowmapEffect::Load(Stream& stream) {
    if (SceneNodeEffect::Load(stream) != 0) return LoadParentFailed();
    if (stream.ReadLinkAs(light_) != 0) return FailWithNameId("Невозможно загрузить источник света. Имя[%s] ID[%d]");
    Pointer<Texture> map;
    if (stream.ReadLinkAs(map) != 0) return FailWithIdName("Невозможно загрузить карту теней. ID[%d] Имя[%s]");
    SetShadowmap(map);
    if (stream.ReadColor(shadowColor) != 0) return FailWithNameId("Невозможно загрузить цвет тени. Имя[%s] ID[%d]");
    uint8_t flags = 0;
    stream.ReadUInt8(flags);
    fitToCamera = (flags & kFitToCameraBit) != 0;
    softShadows = (flags & kSoftBit) != 0;
    stream.ReadFloat(depthBias);
    stream.ReadFloat(slopeScaleBias);
    stream.ReadFloat(fitThreshold);
    if (stream.GetErrorState() != 0 || nodes_.Load(stream) != kOk)
        return FailWithNameId("Невозможно загрузить узлы. Имя[%s] ID[%d]");
    return kOk;
}

}  // namespace zel
