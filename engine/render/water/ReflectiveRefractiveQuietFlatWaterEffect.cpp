#include "engine/render/water/ReflectiveRefractiveQuietFlatWaterEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/Renderer.h"
#include "engine/render/material/MaterialTechnique.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

ZEL_DEFINE_RTTI(ReflectiveRefractiveQuietFlatWaterEffect, NormalmapTextureEffect)

namespace {

// Positions, normals, indices and the normal map's coordinates as set 1;
// normal map, Fresnel map, reflection and refraction on stages 0 to 3.
class RefractiveWaterPass : public WaterPass {
public:
    RefractiveWaterPass(ReflectiveRefractiveQuietFlatWaterEffect* effect, const RendererCapabilities& caps)
        : WaterPass(effect, kRefractiveWaterPrograms, effect->ripple, (1u << 2) | (1u << 3), 1u << 0, caps),
          water_(effect) {}

    int32_t Draw(Renderer& renderer) override {
        MaterialFrame frame;
        if (!BeginDraw(renderer, frame)) return 1;
        MaterialSlots slots;
        water_->GetSlots(slots);
        renderer.SetIndexBuffer(frame.node->GetIndices());
        BindTextureSlot(renderer, *frame.node, slots.normalmap, 1, 0);
        renderer.SetTexture(water_->GetFresnelMap(), 1);
        renderer.SetTexture(water_->GetReflectionMap(), 2);
        renderer.SetTexture(water_->GetRefractionMap(), 3);
        BindGeometry(renderer, frame, true);
        BindPrograms(renderer);
        SetTransforms(renderer, frame);
        SetWaterConstants(renderer, frame);
        SetPixelRegister(renderer, 0, water_->refractionDistortion, 0.0f, 0.0f, 0.0f);
        SetPixelRegister(renderer, 2, water_->reflectionDistortion, 0.0f, 0.0f, 0.0f);
        return 0;
    }

private:
    ReflectiveRefractiveQuietFlatWaterEffect* water_;  // not owning: the effect owns the pass
};

}  // namespace

ReflectiveRefractiveQuietFlatWaterEffect::ReflectiveRefractiveQuietFlatWaterEffect() {
    // A technique that cannot be added (out of memory) is dropped; the effect
    // runs one of the others, or draws nothing.
    (void)AddTechnique(new (std::nothrow) MaterialTechnique(
        this, &MaterialTechnique::PixelShaders20,
        &MakeMaterialPass<RefractiveWaterPass, ReflectiveRefractiveQuietFlatWaterEffect>));
}

Object* ReflectiveRefractiveQuietFlatWaterEffect::FindByName(const String& name) {
    if (Object* found = NormalmapTextureEffect::FindByName(name)) return found;
    if (Object* found = FindIn(reflectionMap_, name)) return found;
    if (Object* found = FindIn(refractionMap_, name)) return found;
    return FindIn(fresnelMap_, name);
}

void ReflectiveRefractiveQuietFlatWaterEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    NormalmapTextureEffect::CollectByType(type, objects);
    CollectIn(reflectionMap_, type, objects);
    CollectIn(refractionMap_, type, objects);
    CollectIn(fresnelMap_, type, objects);
}

void ReflectiveRefractiveQuietFlatWaterEffect::VisitLinks(LinkVisitor& visitor) {
    NormalmapTextureEffect::VisitLinks(visitor);
    VisitLink(reflectionMap_, visitor);
    VisitLink(refractionMap_, visitor);
    VisitLink(fresnelMap_, visitor);
}

int32_t ReflectiveRefractiveQuietFlatWaterEffect::Save(Stream& stream) {
    if (NormalmapTextureEffect::Save(stream) != 0) return SaveParentFailed();
    if (SaveMap(stream, reflectionMap_, "Невозможно сохранить карту отражения. Имя[%s] ID[%d]") != kOk ||
        SaveMap(stream, refractionMap_, "Невозможно сохранить карту преломления. Имя[%s] ID[%d]") != kOk ||
        SaveMap(stream, fresnelMap_, "Невозможно сохранить карту френеля. Имя[%s] ID[%d]") != kOk)
        return kFailed;
    ripple.Write(stream);
    stream.WriteFloat(reflectionDistortion);
    stream.WriteFloat(refractionDistortion);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно сохранить данные эффекта. Имя[%s] ID[%d]");
    return kOk;
}

int32_t ReflectiveRefractiveQuietFlatWaterEffect::Load(Stream& stream) {
    if (NormalmapTextureEffect::Load(stream) != 0) return LoadParentFailed();
    if (LoadMap(stream, reflectionMap_, "Невозможно загрузить карту отражения. ID[%d] Имя[%s]") != kOk ||
        LoadMap(stream, refractionMap_, "Невозможно загрузить карту преломления. ID[%d] Имя[%s]") != kOk ||
        LoadMap(stream, fresnelMap_, "Невозможно загрузить карту френеля. ID[%d] Имя[%s]") != kOk)
        return kFailed;
    ripple.Read(stream);
    stream.ReadFloat(reflectionDistortion);
    stream.ReadFloat(refractionDistortion);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно загрузить данные эффекта. Имя[%s] ID[%d]");
    return kOk;
}

}  // namespace zel
