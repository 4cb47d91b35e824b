// Emits from random points inside a sphere around the owning particle
// system, with the point emitter's directions.
#pragma once

#include "engine/animation/particles/PointEmitter.h"

namespace zel {

class SphereVolumeEmitter : public PointEmitter {
    ZEL_DECLARE_RTTI

public:
    // Parent data, then the radius (float, not clamped).
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // The direction's two draws, two angles for the offset's direction, one
    // draw for its distance ((draw mod 10000) × radius / 10000). With an
    // owner the offset goes through its world transform as a point and the
    // direction through its scale and rotation.
    void Emit(Vector3& position, Vector3& direction) override;

    float GetRadius() const { return radius_; }
    void SetRadius(float radius) { radius_ = radius; }

private:
    float radius_ = 10.0f;
};
ZEL_REGISTER_CLASS(SphereVolumeEmitter)

}  // namespace zel
