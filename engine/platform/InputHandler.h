// Base of whatever wants the engine's input events: the input manager hands
// every queued event to every registered handler once per processing pass.
#pragma once

#include "engine/core/Named.h"
#include "engine/core/RefCounted.h"
#include "engine/platform/InputEvent.h"

namespace zel {

class InputHandler : public RefCounted, public Named {
public:
    InputHandler() = default;
    explicit InputHandler(const String& name) : Named(name) {}

    // Called once per event, in the order the events were posted.
    virtual void OnInputEvent(const InputEvent& event) = 0;
};

}  // namespace zel
