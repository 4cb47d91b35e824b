#include "engine/animation/particles/PointEmitter.h"

#include <cmath>

#include "engine/core/Stream.h"
#include "engine/scene/Node.h"

namespace zel {

ZEL_DEFINE_RTTI(PointEmitter, Emitter)

Vector3 PointEmitter::DrawDirection() const {
    const float phi = ParticleRandomUnit() * kTwoPi;
    const float theta = minimumAngle_ + ParticleRandomUnit() * (maximumAngle_ - minimumAngle_);
    const float sinTheta = std::sin(theta);
    return {sinTheta * std::sin(phi), std::cos(theta), sinTheta * std::cos(phi)};
}

void PointEmitter::Emit(Vector3& position, Vector3& direction) {
    Vector3 d = DrawDirection();
    if (owner_ != nullptr) {
        position = owner_->GetWorld().translation;
        d = owner_->GetWorld().ApplyToDirection(d);
    } else {
        position = {};
    }
    direction = Normalize(d);
}

int32_t PointEmitter::Save(Stream& stream) {
    if (Emitter::Save(stream) != 0) return SaveParentFailed();
    stream.WriteFloat(maximumAngle_);
    stream.WriteFloat(minimumAngle_);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно сохранить данные системы частиц. Имя[%s] ID[%d]");
    return kOk;
}

int32_t PointEmitter::Load(Stream& stream) {
    if (Emitter::Load(stream) != 0) return LoadParentFailed();
    float maximum = 0.0f;
    float minimum = 0.0f;
    if (stream.ReadFloat(maximum) != 0 || stream.ReadFloat(minimum) != 0)
        return FailWithNameId("Невозможно загрузить данные системы частиц. Имя[%s] ID[%d]");
    // Written so that NaN falls to 0 as well.
    if (!(maximum >= 0.0f)) maximum = 0.0f;
    if (maximum < minimumAngle_) maximum = minimumAngle_;
    if (!(minimum >= 0.0f)) minimum = 0.0f;
    if (minimum > maximum) minimum = maximum;
    maximumAngle_ = maximum;
    minimumAngle_ = minimum;
    return kOk;
}

}  // namespace zel
