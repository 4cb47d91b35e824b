// One way an effect can draw: a requirement on the renderer's capabilities
// and the passes to run when it is met. Each effect class defines its own
// small technique classes.
#pragma once

#include <cstdint>

#include "engine/core/GrowableArray.h"
#include "engine/core/Pointer.h"

namespace zel {

class Effect;
class Pass;
class Renderer;

class Technique {
public:
    // Not owning: the effect owns its techniques.
    explicit Technique(Effect* effect) : effect_(effect) {}
    virtual ~Technique();

    Technique(const Technique&) = delete;
    Technique& operator=(const Technique&) = delete;

    // When the renderer's capabilities suffice, creates the passes and
    // returns true.
    virtual bool Init(const Renderer& renderer) = 0;

    int32_t GetPassCount() const { return passes_.Count(); }
    // Null outside 0..count − 1.
    Pass* GetPass(int32_t index) const;
    Effect* GetEffect() const { return effect_; }

protected:
    // Appends a pass (null ignored). 0 ok; 2 out of memory.
    [[nodiscard]] int32_t AddPass(Pass* pass);

private:
    GrowableArray<Pointer<Pass>> passes_{1, 1};
    Effect* effect_;
};

}  // namespace zel
