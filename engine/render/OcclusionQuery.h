// A hardware occlusion query: counts the pixels that pass the depth test
// between Begin and End. The renderer makes the device query on first use,
// keeps it in the binding and stores the count here. Nothing waits for the
// count: it is taken at a later Begin once the device has it, so it is the
// count of an earlier use (one frame old for a query used once a frame).
#pragma once

#include <cstdint>

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/core/RendererBinding.h"

namespace zel {

class OcclusionQuery : public Object {
    ZEL_DECLARE_RTTI

public:
    OcclusionQuery() = default;
    // Asks the renderer holding the device query to release it.
    ~OcclusionQuery() override;

    // Start and stop counting on the current renderer (nothing without
    // one). While the last use is still being counted, neither counts.
    void Begin();
    void End();

    // Pixels that passed in the last use the device has answered; 0 when
    // the device query could not be made or failed.
    int32_t GetVisiblePixels() const { return visiblePixels_; }
    void SetVisiblePixels(int32_t count) { visiblePixels_ = count; }

    RendererBinding& GetBinding() { return binding_; }

private:
    RendererBinding binding_;
    int32_t visiblePixels_ = 0;
};
ZEL_REGISTER_ABSTRACT_CLASS(OcclusionQuery)

}  // namespace zel
