// One key of an animation: a position on the animation's cyclic time line in
// [0, 1). Keys are small records, not engine objects: the animation that
// holds them creates, streams and destroys them, and its class fixes their
// kind, so a stream carries no type tag per key.
#pragma once

#include <cstdint>

#include "engine/core/Object.h"

namespace zel {

class Stream;
class String;

class Keyframe {
public:
    Keyframe() = default;
    virtual ~Keyframe();

    Keyframe(const Keyframe&) = delete;
    Keyframe& operator=(const Keyframe&) = delete;

    // The time as an 8-byte double; the result is the stream's error state
    // (the derived key logs the failure).
    [[nodiscard]] virtual int32_t Save(Stream& stream);
    [[nodiscard]] virtual int32_t Load(Stream& stream);
    // Keys hold no objects: null and nothing.
    virtual Object* FindByName(const String& name);
    virtual void CollectByType(const Rtti& type, ObjectArray& objects);

    double time = 0.0;
};

}  // namespace zel
