// Effect test doubles for the drawing paths: techniques that accept a
// renderer by its texture-stage count and create named passes, passes that
// bind the owner node's positions and indices (so a RecordingRenderer
// shows them) and return a settable result, and a geometry-node and a
// scene-node effect built from them, registered so they stream.
#pragma once

#include <string>

#include "engine/core/ClassRegistration.h"
#include "engine/core/Pointer.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/GeometryNodeEffectPass.h"
#include "engine/render/SceneNodeEffect.h"
#include "engine/render/Technique.h"
#include "engine/scene/Light.h"

namespace zel::test {

class RecordingPass : public GeometryNodeEffectPass {
    ZEL_DECLARE_RTTI

public:
    // `effect` may be null (scene-node effects).
    explicit RecordingPass(GeometryNodeEffect* effect = nullptr, const char* name = "pass");

    // Binds the owner node's positions and indices when there is one, pushes
    // and enables `light` when set, and returns `result`.
    int32_t Draw(Renderer& renderer) override;
    void Refresh() override;

    int32_t result = 0;
    int32_t draws = 0;
    int32_t refreshes = 0;
    Pointer<Light> light;
};
ZEL_REGISTER_CLASS(RecordingPass)

class RecordingTechnique : public Technique {
public:
    // Its passes are named "<name>.<i>"; Init succeeds when the renderer has
    // at least `requiredTextures` texture stages.
    RecordingTechnique(Effect* effect, std::string name, int32_t passCount, int32_t requiredTextures);

    bool Init(const Renderer& renderer) override;

    RecordingPass* GetRecordingPass(int32_t index) const;

    std::string name;
    int32_t initCalls = 0;

private:
    int32_t passCount_;
    int32_t requiredTextures_;
};

// With one technique "tech" of one pass and no requirement.
class RecordingEffect : public GeometryNodeEffect {
    ZEL_DECLARE_RTTI

public:
    RecordingEffect();
    // Adds a technique in front of the others.
    RecordingTechnique* AddRecordingTechnique(const std::string& name, int32_t passCount, int32_t requiredTextures);
    // The active technique's pass, or null.
    RecordingPass* GetRecordingPass(int32_t index) const;
};
ZEL_REGISTER_CLASS(RecordingEffect)

// With one technique "scene" of one pass and no requirement.
class RecordingSceneEffect : public SceneNodeEffect {
    ZEL_DECLARE_RTTI

public:
    RecordingSceneEffect();
    RecordingTechnique* AddRecordingTechnique(const std::string& name, int32_t passCount, int32_t requiredTextures);
    RecordingPass* GetRecordingPass(int32_t index) const;
};
ZEL_REGISTER_CLASS(RecordingSceneEffect)

}  // namespace zel::test
