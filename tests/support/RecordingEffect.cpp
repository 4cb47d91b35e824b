#include "support/RecordingEffect.h"

#include <new>

#include "engine/render/Renderer.h"
#include "engine/scene/GeometryNode.h"

namespace zel::test {

ZEL_DEFINE_RTTI(RecordingPass, GeometryNodeEffectPass)
ZEL_DEFINE_RTTI(RecordingEffect, GeometryNodeEffect)
ZEL_DEFINE_RTTI(RecordingSceneEffect, SceneNodeEffect)

RecordingPass::RecordingPass(GeometryNodeEffect* effect, const char* name) : GeometryNodeEffectPass(effect) {
    SetName(String(name));
}

int32_t RecordingPass::Draw(Renderer& renderer) {
    ++draws;
    if (GetEffect() != nullptr)
        if (GeometryNode* node = GetEffect()->GetOwnerNode()) {
            renderer.SetPositionBuffer(node->GetVertices());
            renderer.SetIndexBuffer(node->GetIndices());
        }
    if (light != nullptr) {
        renderer.PushLight(light);
        renderer.EnableLight(light);
    }
    return result;
}

void RecordingPass::Refresh() {
    ++refreshes;
    GeometryNodeEffectPass::Refresh();
}

RecordingTechnique::RecordingTechnique(Effect* effect, std::string name, int32_t passCount, int32_t requiredTextures)
    : Technique(effect), name(std::move(name)), passCount_(passCount), requiredTextures_(requiredTextures) {}

bool RecordingTechnique::Init(const Renderer& renderer) {
    ++initCalls;
    if (renderer.GetCapabilities().simultaneousTextures < requiredTextures_) return false;
    GeometryNodeEffect* effect = CastTo<GeometryNodeEffect>(GetEffect());
    for (int32_t i = 0; i < passCount_; ++i) {
        const std::string passName = name + "." + std::to_string(i);
        // Out of memory only: the pass is missing and the test's counts fail.
        (void)AddPass(new (std::nothrow) RecordingPass(effect, passName.c_str()));
    }
    return true;
}

RecordingPass* RecordingTechnique::GetRecordingPass(int32_t index) const {
    return static_cast<RecordingPass*>(GetPass(index));
}

namespace {

RecordingPass* ActivePass(const Effect& effect, int32_t index) {
    return static_cast<RecordingPass*>(effect.GetPass(index));
}

}  // namespace

RecordingEffect::RecordingEffect() { AddRecordingTechnique("tech", 1, 0); }

RecordingTechnique* RecordingEffect::AddRecordingTechnique(const std::string& name, int32_t passCount,
                                                            int32_t requiredTextures) {
    RecordingTechnique* technique = new (std::nothrow) RecordingTechnique(this, name, passCount, requiredTextures);
    return AddTechnique(technique) == kOk ? technique : nullptr;
}

RecordingPass* RecordingEffect::GetRecordingPass(int32_t index) const { return ActivePass(*this, index); }

RecordingSceneEffect::RecordingSceneEffect() { AddRecordingTechnique("scene", 1, 0); }

RecordingTechnique* RecordingSceneEffect::AddRecordingTechnique(const std::string& name, int32_t passCount,
                                                                 int32_t requiredTextures) {
    RecordingTechnique* technique = new (std::nothrow) RecordingTechnique(this, name, passCount, requiredTextures);
    return AddTechnique(technique) == kOk ? technique : nullptr;
}

RecordingPass* RecordingSceneEffect::GetRecordingPass(int32_t index) const { return ActivePass(*this, index); }

}  // namespace zel::test
