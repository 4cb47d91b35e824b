// The effect of a geometry node: the material, blending, fog and sway
// parameters every material effect shares, copied into its passes' render
// state blocks. A blended effect makes its node drawn late, farthest first.
#pragma once

#include "engine/core/Controller.h"
#include "engine/core/Pointer.h"
#include "engine/render/Effect.h"
#include "engine/render/RenderStateBlock.h"
#include "engine/math/Color.h"

namespace zel {

class GeometryNode;
class Vector3Buffer;
class Vector4Buffer;
struct Matrix4;

// What a vertex program needs to skin a node on the device: the bone
// palette and the bind-pose streams. Pointers into the skin controller,
// valid until it next updates.
struct SkinStreams {
    const Matrix4* palette = nullptr;
    int32_t boneCount = 0;
    Vector3Buffer* positions = nullptr;
    Vector3Buffer* normals = nullptr;
    Vector3Buffer* tangents = nullptr;
    Vector4Buffer* weights = nullptr;
    Vector4Buffer* boneIndices = nullptr;
};

// How the effect reaches the skin controller it links: the skinning code
// installs these when it starts; while unset, linking a skin controller
// only stores it.
struct SkinControllerHooks {
    // Switches the controller between skinning on the processor (true) and
    // leaving it to the effect's vertex programs (false).
    void (*setProcessorSkinning)(Controller* controller, bool on) = nullptr;
    // Gives the controller's target node a bound that is never culled.
    void (*makeTargetUnbounded)(Controller* controller) = nullptr;
    // Fills `streams` from the controller; false when it is no skin.
    bool (*getSkinStreams)(Controller* controller, SkinStreams& streams) = nullptr;
};

class GeometryNodeEffect : public Effect {
    ZEL_DECLARE_RTTI

public:
    static constexpr int32_t kStages = 8;

    GeometryNodeEffect();
    ~GeometryNodeEffect() override;

    // Parent data, then: clamp mask byte (bit i: stage i clamps, else
    // wraps), diffuse, ambient, specular, emissive, power, alpha test, alpha
    // reference, flags byte (bit 0 blend; bit 4 cull disabled; on load
    // blend is any of bits 0–3 and cull a value below 16), source and
    // destination factors, fog enable, fog colour, density, exponent, wave
    // flag, amplitude, speed and the skin controller link.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Object search, then the skin controller.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // Effect's links, then the skin controller.
    void VisitLinks(LinkVisitor& visitor) override;

    // Controllers, the controllers of every texture the effect links, the
    // effect time, and the skin controller rule: with
    // vertex programs of level 2.0 or 3.0 the device skins (the controller
    // stops skinning on the processor); with lower levels the link is
    // dropped and the controller keeps skinning on the processor.
    void UpdateEffect(double time) override;

    // The node being drawn with this effect; set by GeometryNode. Not
    // owning: the node holds the effect.
    GeometryNode* GetOwnerNode() const { return ownerNode_; }
    void SetOwnerNode(GeometryNode* node) { ownerNode_ = node; }

    // These three refresh the active technique's passes.
    void SetFogEnable(bool on);
    void SetWave(bool on);
    // Also hands the old and the new controller back to processor skinning
    // and makes the new one's target unbounded (through the hooks).
    void SetSkinController(Controller* controller);
    Controller* GetSkinController() const { return skinController_; }
    // The linked skin controller's streams; false without one (or without
    // the hooks).
    bool GetSkinStreams(SkinStreams& streams) const;

    static void SetSkinControllerHooks(const SkinControllerHooks& hooks);

    // Plain parameters: the next Refresh (RefreshPasses) copies them.
    bool depthTest = true;
    bool depthWrite = true;
    bool wireframe = false;
    ColorRGBA diffuse{0.8f, 0.8f, 0.8f, 1.0f};
    ColorRGBA ambient{0.2f, 0.2f, 0.2f, 1.0f};
    ColorRGBA specular{0.0f, 0.0f, 0.0f, 1.0f};
    ColorRGBA emissive{0.0f, 0.0f, 0.0f, 1.0f};
    float power = 1.0f;
    bool alphaTest = false;
    int32_t alphaReference = 1;
    bool blendEnable = false;
    int32_t sourceFactor = RenderStateBlock::kSourceAlpha;
    int32_t destinationFactor = RenderStateBlock::kInverseSourceAlpha;
    ColorRGBA fogColor{1.0f, 1.0f, 1.0f, 1.0f};
    float fogDensity = 0.001f;
    // Above 2 the fixed-function fog is squared exponential.
    float fogExponent = 2.0f;
    float waveAmplitude = 0.05f;
    float waveSpeed = 1.0f;
    bool cullEnable = true;
    // Address mode of stage i (U, V and W alike): 0 clamp, 1 wrap, 2 border.
    int32_t stageAddressModes[kStages] = {1, 1, 1, 1, 1, 1, 1, 1};
    // Seconds accumulated by UpdateEffect; not streamed. Beside the fields
    // UpdateEffect reads below, so that it touches few cache lines.
    float effectTime = 0.0f;

    bool GetFogEnable() const { return fogEnable_; }
    bool GetWave() const { return wave_; }

private:
    void UpdateTextureControllers(double time);
    int32_t SaveFields(Stream& stream);
    int32_t LoadFields(Stream& stream);

    bool fogEnable_ = false;
    bool wave_ = false;
    Pointer<Controller> skinController_;
    GeometryNode* ownerNode_ = nullptr;
    // The textures found at the last update, refilled every frame into the
    // same storage so that an update allocates nothing.
    ObjectArray linkedTextures_{4, 4};
};
ZEL_REGISTER_CLASS(GeometryNodeEffect)

}  // namespace zel
