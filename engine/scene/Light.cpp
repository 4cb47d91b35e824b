#include "engine/scene/Light.h"

#include "engine/core/Stream.h"

namespace zel {

ZEL_DEFINE_RTTI(Light, Node)

Light::Light() : Light(kFixedDirectional) {}

Light::Light(int32_t lightType, const String& name) : Node(name), lightType_(lightType) {}

Vector3 Light::GetDirection() const { return GetWorld().rotation.ToMatrix().Column(2); }

Vector3 Light::GetShiningDirection() const {
    return lightType_ == kFixedDirectional ? Vector3{0.0f, 0.0f, 1.0f} : GetDirection();
}

Vector3 Light::GetEffectiveAttenuation() const {
    if (!useAttenuation_) return {1.0f, 0.0f, 0.0f};
    return {attenuation0_, attenuation1_, attenuation2_};
}

int32_t Light::Save(Stream& stream) {
    if (Node::Save(stream) != 0) return SaveParentFailed();
    stream.WriteInt32(lightType_);
    stream.WriteColor(ambient_);
    stream.WriteColor(diffuse_);
    stream.WriteColor(specular_);
    stream.WriteFloat(attenuation0_);
    stream.WriteFloat(attenuation1_);
    stream.WriteFloat(attenuation2_);
    stream.WriteBool(useAttenuation_);
    stream.WriteFloat(falloff_);
    stream.WriteFloat(spotAngle_);
    if (stream.GetErrorState() != 0)
        return FailWithNameId("Невозможно сохранить данные источника света. Имя[%s] ID[%d]");
    return kOk;
}

int32_t Light::Load(Stream& stream) {
    if (Node::Load(stream) != 0) return LoadParentFailed();
    stream.ReadInt32(lightType_);
    stream.ReadColor(ambient_);
    stream.ReadColor(diffuse_);
    stream.ReadColor(specular_);
    stream.ReadFloat(attenuation0_);
    stream.ReadFloat(attenuation1_);
    stream.ReadFloat(attenuation2_);
    stream.ReadBool(useAttenuation_);
    stream.ReadFloat(falloff_);
    stream.ReadFloat(spotAngle_);
    if (stream.GetErrorState() != 0)
        return FailWithIdName("Невозможно загрузить данные источника света. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
