// A pass of a geometry-node effect: Refresh copies the effect's material,
// blending, fog, culling, depth and addressing into the render state block;
// a blended effect's pass writes no depth.
// Drawing is left to each material effect's own pass classes.
#pragma once

#include "engine/render/Pass.h"

namespace zel {

class GeometryNodeEffect;

class GeometryNodeEffectPass : public Pass {
    ZEL_DECLARE_RTTI

public:
    // Not owning: the effect owns the pass through its technique.
    explicit GeometryNodeEffectPass(GeometryNodeEffect* effect = nullptr) : effect_(effect) {}

    // Copies the effect's parameters (nothing without an effect or a
    // block), then marks the binding dirty.
    void Refresh() override;

    GeometryNodeEffect* GetEffect() const { return effect_; }

private:
    GeometryNodeEffect* effect_;
};
ZEL_REGISTER_ABSTRACT_CLASS(GeometryNodeEffectPass)

}  // namespace zel
