// Base of everything that draws: alternative techniques, tried newest first
// the first time the effect's pass count is asked for; the first one the
// renderer can run stays active for the effect's lifetime.
#pragma once

#include "engine/core/ClassRegistration.h"
#include "engine/core/GrowableArray.h"
#include "engine/core/Object.h"

namespace zel {

class Pass;
class Renderer;
class Technique;

class Effect : public Object {
    ZEL_DECLARE_RTTI

public:
    Effect();
    // Deletes the techniques (and so releases their passes).
    ~Effect() override;

    // Runs the effect's controllers.
    virtual void UpdateEffect(double time);
    virtual void Enable();
    virtual void Disable();
    bool IsEnabled() const { return enabled_ != 0; }

    // The active technique's pass count. Without one, the techniques are
    // tried newest first; the first whose Init succeeds becomes active and
    // its passes are refreshed. 0 when none can run (nothing is drawn; not
    // an error).
    int32_t GetPassCount(const Renderer& renderer);
    // Null without an active technique or outside its passes.
    Pass* GetPass(int32_t index) const;
    Technique* GetActiveTechnique() const { return active_; }
    int32_t GetTechniqueCount() const { return techniques_.Count(); }
    // Index 0 is the newest technique, the first one tried.
    Technique* GetTechnique(int32_t index) const;
    // Refresh on every pass of the active technique (nothing before one is
    // chosen): they copy the effect's parameters and record anew.
    void RefreshPasses();

protected:
    // Takes ownership and puts the technique in front of the others, so a
    // derived class's techniques (added after its parent's) are tried
    // first. Null is ignored (the allocation failed). 0 ok; 2 out of memory
    // (the technique is deleted).
    [[nodiscard]] int32_t AddTechnique(Technique* technique);

private:
    // Oldest first: the array is walked from its end.
    GrowableArray<Technique*> techniques_{2, 2};
    Technique* active_ = nullptr;  // one of techniques_
    uint8_t enabled_ = 1;
};
ZEL_REGISTER_CLASS(Effect)

}  // namespace zel
