#include "engine/render/GeometryNodeEffect.h"

#include "engine/core/Stream.h"
#include "engine/render/Renderer.h"
#include "engine/render/texture/BaseTexture.h"
#include "engine/render/texture/TextureStage.h"

namespace zel {

ZEL_DEFINE_RTTI(GeometryNodeEffect, Effect)

namespace {

SkinControllerHooks gSkinHooks;

constexpr uint8_t kBlendBit = 0x01;
constexpr uint8_t kBlendBits = 0x0F;
constexpr uint8_t kCullDisabledBit = 0x10;

void SetProcessorSkinning(Controller* controller, bool on) {
    if (controller != nullptr && gSkinHooks.setProcessorSkinning != nullptr)
        gSkinHooks.setProcessorSkinning(controller, on);
}

}  // namespace

GeometryNodeEffect::GeometryNodeEffect() = default;

GeometryNodeEffect::~GeometryNodeEffect() = default;

void GeometryNodeEffect::SetSkinControllerHooks(const SkinControllerHooks& hooks) { gSkinHooks = hooks; }

void GeometryNodeEffect::SetFogEnable(bool on) {
    fogEnable_ = on;
    RefreshPasses();
}

void GeometryNodeEffect::SetWave(bool on) {
    wave_ = on;
    RefreshPasses();
}

void GeometryNodeEffect::SetSkinController(Controller* controller) {
    // Both go back to processor skinning; UpdateEffect hands the new one to
    // the device when its vertex programs can skin.
    SetProcessorSkinning(skinController_, true);
    SetProcessorSkinning(controller, true);
    if (controller != nullptr && gSkinHooks.makeTargetUnbounded != nullptr) gSkinHooks.makeTargetUnbounded(controller);
    skinController_ = controller;
    RefreshPasses();
}

bool GeometryNodeEffect::GetSkinStreams(SkinStreams& streams) const {
    return skinController_ != nullptr && gSkinHooks.getSkinStreams != nullptr &&
           gSkinHooks.getSkinStreams(skinController_, streams);
}

void GeometryNodeEffect::UpdateEffect(double time) {
    Effect::UpdateEffect(time);
    UpdateTextureControllers(time);
    effectTime += static_cast<float>(time);
    if (skinController_ == nullptr) return;
    Renderer* renderer = GetCurrentRenderer();
    const int32_t level =
        renderer != nullptr ? renderer->GetCapabilities().vertexShaderLevel : RendererCapabilities::kShaderLevelNone;
    if (RendererCapabilities::IsLevel2OrAbove(level))
        SetProcessorSkinning(skinController_, false);
    else
        skinController_ = nullptr;
}

void GeometryNodeEffect::UpdateTextureControllers(double time) {
    // Textures are not in the scene tree, so the controllers that prepare
    // or render them (normal and Fresnel maps, reflection and refraction
    // images) run with the effects that show them. A texture two effects
    // share runs twice: those controllers run once or queue once a frame.
    linkedTextures_.RemoveFront(linkedTextures_.Count());
    CollectByType(BaseTexture::TYPE, linkedTextures_);
    for (int32_t i = 0; i < linkedTextures_.Count(); ++i) linkedTextures_[i]->UpdateControllers(time);
}

Object* GeometryNodeEffect::FindByName(const String& name) {
    if (Object* found = Effect::FindByName(name)) return found;
    return FindIn(skinController_, name);
}

void GeometryNodeEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    Effect::CollectByType(type, objects);
    CollectIn(skinController_, type, objects);
}

void GeometryNodeEffect::VisitLinks(LinkVisitor& visitor) {
    Effect::VisitLinks(visitor);
    VisitLink(skinController_, visitor);
}

int32_t GeometryNodeEffect::Save(Stream& stream) {
    if (Effect::Save(stream) != 0) return SaveParentFailed();
    return SaveFields(stream);
}

int32_t GeometryNodeEffect::Load(Stream& stream) {
    if (Effect::Load(stream) != 0) return LoadParentFailed();
    return LoadFields(stream);
}

int32_t GeometryNodeEffect::SaveFields(Stream& stream) {
    uint8_t clampMask = 0;
    for (int32_t i = 0; i < kStages; ++i)
        if (stageAddressModes[i] == TextureStage::kClamp) clampMask |= static_cast<uint8_t>(1u << i);
    const uint8_t flags = (blendEnable ? kBlendBit : 0) | (cullEnable ? 0 : kCullDisabledBit);
    stream.WriteUInt8(clampMask);
    stream.WriteColor(diffuse);
    stream.WriteColor(ambient);
    stream.WriteColor(specular);
    stream.WriteColor(emissive);
    stream.WriteFloat(power);
    stream.WriteBool(alphaTest);
    stream.WriteInt32(alphaReference);
    stream.WriteUInt8(flags);
    stream.WriteInt32(sourceFactor);
    stream.WriteInt32(destinationFactor);
    stream.WriteBool(fogEnable_);
    stream.WriteColor(fogColor);
    stream.WriteFloat(fogDensity);
    stream.WriteFloat(fogExponent);
    stream.WriteBool(wave_);
    stream.WriteFloat(waveAmplitude);
    stream.WriteFloat(waveSpeed);
    stream.WriteLink(skinController_);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно сохранить данные эффекта. Имя[%s] ID[%d]");
    return kOk;
}

int32_t GeometryNodeEffect::LoadFields(Stream& stream) {
    uint8_t clampMask = 0;
    uint8_t flags = 0;
    bool fog = false;
    bool wave = false;
    Pointer<Controller> skin;
    stream.ReadUInt8(clampMask);
    stream.ReadColor(diffuse);
    stream.ReadColor(ambient);
    stream.ReadColor(specular);
    stream.ReadColor(emissive);
    stream.ReadFloat(power);
    stream.ReadBool(alphaTest);
    stream.ReadInt32(alphaReference);
    stream.ReadUInt8(flags);
    stream.ReadInt32(sourceFactor);
    stream.ReadInt32(destinationFactor);
    stream.ReadBool(fog);
    stream.ReadColor(fogColor);
    stream.ReadFloat(fogDensity);
    stream.ReadFloat(fogExponent);
    stream.ReadBool(wave);
    stream.ReadFloat(waveAmplitude);
    stream.ReadFloat(waveSpeed);
    stream.ReadLinkAs(skin);
    if (stream.GetErrorState() != 0) return FailWithIdName("Невозможно загрузить данные эффекта. ID[%d] Имя[%s]");
    for (int32_t i = 0; i < kStages; ++i)
        stageAddressModes[i] = (clampMask >> i) & 1 ? TextureStage::kClamp : TextureStage::kWrap;
    blendEnable = (flags & kBlendBits) != 0;
    cullEnable = flags < kCullDisabledBit;
    fogEnable_ = fog;
    wave_ = wave;
    SetSkinController(skin);
    return kOk;
}

}  // namespace zel
