// Smart pointer holding one reference to a RefCounted object. Assignment
// takes the new reference before releasing the old one, so assigning an
// object that is only kept alive by the old value is safe. Null is allowed.
#pragma once

#include <utility>

namespace zel {

template <class T>
class Pointer {
public:
    Pointer() = default;
    Pointer(T* object) : object_(object) { Acquire(); }
    Pointer(const Pointer& other) : object_(other.object_) { Acquire(); }
    template <class U>
    Pointer(const Pointer<U>& other) : object_(other.Get()) { Acquire(); }
    Pointer(Pointer&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~Pointer() { Release(); }

    Pointer& operator=(T* object) {
        if (object != object_) {
            if (object != nullptr) object->AddReference();
            T* old = std::exchange(object_, object);
            if (old != nullptr) old->RemoveReference();
        }
        return *this;
    }
    Pointer& operator=(const Pointer& other) { return *this = other.object_; }
    template <class U>
    Pointer& operator=(const Pointer<U>& other) {
        return *this = static_cast<T*>(other.Get());
    }
    Pointer& operator=(Pointer&& other) noexcept {
        if (this != &other) {
            T* old = std::exchange(object_, std::exchange(other.object_, nullptr));
            if (old != nullptr) old->RemoveReference();
        }
        return *this;
    }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    operator T*() const { return object_; }

private:
    void Acquire() {
        if (object_ != nullptr) object_->AddReference();
    }
    void Release() {
        if (object_ != nullptr) std::exchange(object_, nullptr)->RemoveReference();
    }

    T* object_ = nullptr;
};

}  // namespace zel
