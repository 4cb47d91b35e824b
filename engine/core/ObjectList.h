// A growable array of object references with set semantics, streamed as a
// count followed by one link per entry.
#pragma once

#include "engine/core/GrowableArray.h"
#include "engine/core/Pointer.h"

namespace zel {

class Object;
class Stream;

class ObjectList {
public:
    ObjectList() : objects_(1, 1) {}

    int32_t Count() const { return objects_.Count(); }
    Object* operator[](int32_t index) const { return objects_[index].Get(); }
    bool Contains(const Object* object) const;

    // Adds the object unless it (or null) is already present. 0 ok (also
    // when nothing was added), 2 out of memory.
    [[nodiscard]] int32_t Add(Object* object);
    // False when the object is not in the list.
    bool Remove(const Object* object);
    void Clear() { objects_.Clear(); }

    // 0 ok, 1 failed (logged).
    [[nodiscard]] int32_t Save(Stream& stream) const;
    // Appends the objects read; the list is not emptied first.
    [[nodiscard]] int32_t Load(Stream& stream);

private:
    int32_t IndexOf(const Object* object) const;

    GrowableArray<Pointer<Object>> objects_;
};

}  // namespace zel
