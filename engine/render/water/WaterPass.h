// What the two water passes share: the vertex constants c8 colour, c9
// camera (object space), c10 (scale u, scale v, r sin wt, r cos wt) — the
// normal-map layers drift on a circle of the ripple radius r at the angular
// speed w — and c11 fog, and the clamp addressing of the screen-space
// stages, set after the effect copy.
#pragma once

#include "engine/math/Vector2.h"
#include "engine/render/material/MaterialPass.h"

namespace zel {

class NormalmapTextureEffect;
class Stream;

// The ripple of a water surface.
struct WaterRipple {
    Vector2 scale{1.0f, 1.0f};  // normal-map coordinates are multiplied by it
    float radius = 0.0f;
    float angularSpeed = 0.0f;  // radians per second

    // Streamed as the scale, the radius and the angular speed; a failure
    // shows in the stream's error state.
    void Write(Stream& stream) const;
    void Read(Stream& stream);
};

class WaterPass : public MaterialShaderPass {
public:
    // `clampStages`: bit i clamps stage i; `wrapStages` likewise forces wrap.
    WaterPass(NormalmapTextureEffect* effect, const MaterialPrograms& programs, const WaterRipple& ripple,
              uint32_t clampStages, uint32_t wrapStages, const RendererCapabilities& caps);

    void Refresh() override;

protected:
    NormalmapTextureEffect& Water() const { return *water_; }
    void SetWaterConstants(Renderer& renderer, const MaterialFrame& frame) const;

private:
    NormalmapTextureEffect* water_;  // not owning: the effect owns the pass
    const WaterRipple& ripple_;      // the effect's
    uint32_t clampStages_;
    uint32_t wrapStages_;
};

}  // namespace zel
