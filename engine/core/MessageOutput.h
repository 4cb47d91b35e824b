// Receiver of the log's formatted lines.
#pragma once

#include <cstdint>

#include "engine/core/Named.h"
#include "engine/core/RefCounted.h"

namespace zel {

class MessageOutput : public Named, public virtual RefCounted {
public:
    explicit MessageOutput(const String& name) : Named(name) {}

    // level: 0 INFO, 1 WARNING, 2 ERROR, 3 CRITICAL ERROR, anything else unknown.
    virtual void Output(int32_t level, const String& text) = 0;
};

}  // namespace zel
