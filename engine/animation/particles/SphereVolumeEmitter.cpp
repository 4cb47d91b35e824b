#include "engine/animation/particles/SphereVolumeEmitter.h"

#include <cmath>

#include "engine/core/Stream.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(SphereVolumeEmitter, PointEmitter)

void SphereVolumeEmitter::Emit(Vector3& position, Vector3& direction) {
    Vector3 d = DrawDirection();
    const float alpha = ParticleRandomUnit() * kTwoPi;
    const float beta = ParticleRandomUnit() * kTwoPi;
    const Vector3 along =
        Normalize(Vector3{std::sin(alpha) * std::cos(beta), std::sin(alpha) * std::sin(beta), std::cos(alpha)});
    const float distance = static_cast<float>(ParticleRandomValue() % 10000) * radius_ * 0.0001f;
    const Vector3 offset = along * distance;
    if (Node* owner = GetOwner()) {
        position = owner->GetWorld().ApplyToPoint(offset);
        d = owner->GetWorld().ApplyToDirection(d);
    } else {
        position = offset;
    }
    direction = Normalize(d);
}

int32_t SphereVolumeEmitter::Save(Stream& stream) {
    if (PointEmitter::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteFloat(radius_) != 0)
        return FailWithNameId("Невозможно сохранить данные системы частиц. Имя[%s] ID[%d]");
    return kOk;
}

int32_t SphereVolumeEmitter::Load(Stream& stream) {
    if (PointEmitter::Load(stream) != 0) return LoadParentFailed();
    if (stream.ReadFloat(radius_) != 0)
        return FailWithNameId("Невозможно загрузить данные системы частиц. Имя[%s] ID[%d]");
    return kOk;
}

}  // namespace zel
