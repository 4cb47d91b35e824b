// Passive keyframe data: keys sorted by time on the cyclic range [0, 1).
// An AnimationController decides which keys apply; after the last key the
// interpolation runs towards the first, which counts as lying at its time + 1.
#pragma once

#include <cstdint>

#include "engine/animation/Keyframe.h"
#include "engine/core/ClassRegistration.h"
#include "engine/core/GrowableArray.h"
#include "engine/core/Object.h"

namespace zel {

class Animation : public Object {
    ZEL_DECLARE_RTTI

public:
    Animation() = default;
    // Destroys the keys.
    ~Animation() override;

    // Parent data, the key count, then each key's own data.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    // Replaces the keys with the loaded ones, kept in stream order (a file
    // is written sorted; unsorted keys give odd poses but stay in bounds).
    // 1 on a read failure, 2 when a key cannot be allocated; logged.
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // The animation's own search, then each key's (which finds nothing).
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;

    // A new key of the kind this animation holds, owned by the caller; null
    // when out of memory.
    [[nodiscard]] virtual Keyframe* CreateKeyframe() const = 0;

    // Takes ownership of `key` and inserts it after every key whose time is
    // not later, keeping the order. 3 for null; 2 out of memory (the key is
    // then destroyed).
    [[nodiscard]] int32_t AddKey(Keyframe* key);
    // Destroys every key.
    void ClearKeys();

    int32_t GetKeyCount() const { return keys_.Count(); }
    // Not owning; null outside 0..count − 1.
    Keyframe* GetKey(int32_t index) const;

private:
    GrowableArray<Keyframe*> keys_{1, 1};  // owned
};
ZEL_REGISTER_ABSTRACT_CLASS(Animation)

}  // namespace zel
