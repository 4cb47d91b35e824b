// Emits from one point, the owning particle system's world position, in a
// random direction inside a cone band around the system's local +Y axis.
#pragma once

#include "engine/animation/particles/Emitter.h"
#include "engine/math/MathConstants.h"

namespace zel {

class Node;

class PointEmitter : public Emitter {
    ZEL_DECLARE_RTTI

public:
    // Parent data, then the maximum and minimum angle (floats). Loading
    // clamps the maximum to at least 0 and at least the current minimum,
    // then the minimum to [0, maximum].
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // Two draws: the turn φ about +Y, then the angle θ from +Y between the
    // minimum and the maximum angle. With an owner the point is its world
    // translation and the direction goes through its world scale and
    // rotation; without one the point is the origin.
    void Emit(Vector3& position, Vector3& direction) override;

    // Angles from the local +Y axis in radians; no clamps here (loading
    // clamps).
    float GetMaximumAngle() const { return maximumAngle_; }
    void SetMaximumAngle(float angle) { maximumAngle_ = angle; }
    float GetMinimumAngle() const { return minimumAngle_; }
    void SetMinimumAngle(float angle) { minimumAngle_ = angle; }

    // The particle system emitting through this emitter; set by the system.
    // Not owning: the system holds the emitter and clears this link when it
    // is destroyed. Not streamed.
    Node* GetOwner() const { return owner_; }
    void SetOwner(Node* owner) { owner_ = owner; }

protected:
    // The unit direction at (θ from +Y, φ about +Y) in the emitter's frame;
    // the two draws of Emit in their order.
    Vector3 DrawDirection() const;

private:
    Node* owner_ = nullptr;
    float maximumAngle_ = kPi;
    float minimumAngle_ = 0.0f;
};
ZEL_REGISTER_CLASS(PointEmitter)

}  // namespace zel
