#include "engine/render/water/ReflectiveQuietFlatWaterEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/Renderer.h"
#include "engine/render/material/MaterialTechnique.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

ZEL_DEFINE_RTTI(ReflectiveQuietFlatWaterEffect, NormalmapTextureEffect)

namespace {

// Positions, indices and the normal map's coordinates as set 1; the normal
// map on stage 0 and the reflection on stage 1.
class QuietWaterPass : public WaterPass {
public:
    QuietWaterPass(ReflectiveQuietFlatWaterEffect* effect, const RendererCapabilities& caps)
        : WaterPass(effect, kQuietWaterPrograms, effect->ripple, 1u << 1, 0, caps), quiet_(effect) {}

    int32_t Draw(Renderer& renderer) override {
        MaterialFrame frame;
        if (!BeginDraw(renderer, frame)) return 1;
        MaterialSlots slots;
        quiet_->GetSlots(slots);
        renderer.SetIndexBuffer(frame.node->GetIndices());
        BindTextureSlot(renderer, *frame.node, slots.normalmap, 1, 0);
        renderer.SetTexture(quiet_->GetReflectionMap(), 1);
        BindGeometry(renderer, frame, false);
        BindPrograms(renderer);
        SetTransforms(renderer, frame);
        SetWaterConstants(renderer, frame);
        SetPixelRegister(renderer, 0, quiet_->distortion, 0.0f, 0.0f, 0.0f);
        return 0;
    }

private:
    ReflectiveQuietFlatWaterEffect* quiet_;  // not owning: the effect owns the pass
};

}  // namespace

ReflectiveQuietFlatWaterEffect::ReflectiveQuietFlatWaterEffect() {
    // A technique that cannot be added (out of memory) is dropped; the effect
    // runs one of the others, or draws nothing.
    (void)AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::PixelShaders20, &MakeMaterialPass<QuietWaterPass, ReflectiveQuietFlatWaterEffect>));
}

Object* ReflectiveQuietFlatWaterEffect::FindByName(const String& name) {
    if (Object* found = NormalmapTextureEffect::FindByName(name)) return found;
    return FindIn(reflectionMap_, name);
}

void ReflectiveQuietFlatWaterEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    NormalmapTextureEffect::CollectByType(type, objects);
    CollectIn(reflectionMap_, type, objects);
}

void ReflectiveQuietFlatWaterEffect::VisitLinks(LinkVisitor& visitor) {
    NormalmapTextureEffect::VisitLinks(visitor);
    VisitLink(reflectionMap_, visitor);
}

int32_t ReflectiveQuietFlatWaterEffect::Save(Stream& stream) {
    if (NormalmapTextureEffect::Save(stream) != 0) return SaveParentFailed();
    if (SaveMap(stream, reflectionMap_, "Невозможно сохранить карту отражения. Имя[%s] ID[%d]") != kOk) return kFailed;
    ripple.Write(stream);
    stream.WriteFloat(distortion);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно сохранить данные эффекта. Имя[%s] ID[%d]");
    return kOk;
}

int32_t ReflectiveQuietFlatWaterEffect::Load(Stream& stream) {
    if (NormalmapTextureEffect::Load(stream) != 0) return LoadParentFailed();
    if (LoadMap(stream, reflectionMap_, "Невозможно загрузить карту отражения. ID[%d] Имя[%s]") != kOk) return kFailed;
    ripple.Read(stream);
    stream.ReadFloat(distortion);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно загрузить данные эффекта. Имя[%s] ID[%d]");
    return kOk;
}

}  // namespace zel
