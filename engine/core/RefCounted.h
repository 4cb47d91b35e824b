// Intrusive reference count. The count is 0 after construction; the object
// destroys itself when a release brings the count back to 0.
#pragma once

#include <cstdint>

namespace zel {

class RefCounted {
public:
    RefCounted() = default;
    // A copy is a new object: it starts without references.
    RefCounted(const RefCounted&) : references_(0) {}
    RefCounted& operator=(const RefCounted&) { return *this; }
    // Warns when the object is destroyed while references remain.
    virtual ~RefCounted();

    void AddReference() { ++references_; }
    void RemoveReference() {
        if (--references_ == 0) delete this;
    }
    int32_t GetReferenceCount() const { return references_; }

private:
    int32_t references_ = 0;
};

}  // namespace zel
