// The engine's growable array: an element block with a count, a capacity and
// a fixed growth step. When the block is full the capacity grows by the step
// and the elements are moved to the new block.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

#include "engine/core/Status.h"

namespace zel {

template <class T>
class GrowableArray {
public:
    // capacity: room allocated on the first append (at least 1);
    // growthStep: elements added each time the block is full (at least 1).
    explicit GrowableArray(int32_t capacity = 1, int32_t growthStep = 1)
        : initialCapacity_(capacity > 0 ? capacity : 1), growthStep_(growthStep > 0 ? growthStep : 1) {}
    ~GrowableArray() { delete[] elements_; }

    GrowableArray(const GrowableArray&) = delete;
    GrowableArray& operator=(const GrowableArray&) = delete;

    int32_t Count() const { return count_; }
    int32_t Capacity() const { return capacity_; }
    int32_t GrowthStep() const { return growthStep_; }
    bool IsEmpty() const { return count_ == 0; }

    T& operator[](int32_t index) { return elements_[index]; }
    const T& operator[](int32_t index) const { return elements_[index]; }
    T* begin() { return elements_; }
    T* end() { return elements_ + count_; }
    const T* begin() const { return elements_; }
    const T* end() const { return elements_ + count_; }

    // Appends a copy; kOutOfMemory leaves the array unchanged.
    int32_t Append(const T& value) {
        if (count_ == capacity_) {
            int32_t result = Grow();
            if (result != kOk) return result;
        }
        elements_[count_++] = value;
        return kOk;
    }

    // Index of the first element equal to value, or -1.
    int32_t Find(const T& value) const {
        for (int32_t i = 0; i < count_; ++i)
            if (elements_[i] == value) return i;
        return -1;
    }

    // Moves the later elements down one place; the freed last slot is reset
    // to a default value so that it holds nothing (a Pointer releases).
    void RemoveAt(int32_t index) {
        for (int32_t i = index; i + 1 < count_; ++i) elements_[i] = std::move(elements_[i + 1]);
        elements_[--count_] = T();
    }

    // Removes the first n elements (all when n >= Count()), moving the rest
    // down; the block is kept for reuse and freed slots are reset.
    void RemoveFront(int32_t n) {
        if (n <= 0) return;
        if (n > count_) n = count_;
        for (int32_t i = n; i < count_; ++i) elements_[i - n] = std::move(elements_[i]);
        for (int32_t i = count_ - n; i < count_; ++i) elements_[i] = T();
        count_ -= n;
    }

    // Empties the array and frees the block.
    void Clear() {
        delete[] elements_;
        elements_ = nullptr;
        count_ = 0;
        capacity_ = 0;
    }

    // Makes room for at least `capacity` elements in one step.
    int32_t Reserve(int32_t capacity) {
        return capacity > capacity_ ? Reallocate(capacity) : kOk;
    }

private:
    int32_t Grow() {
        return Reallocate(capacity_ == 0 ? initialCapacity_ : capacity_ + growthStep_);
    }

    int32_t Reallocate(int32_t capacity) {
        T* block = new (std::nothrow) T[capacity];
        if (block == nullptr) return kOutOfMemory;
        for (int32_t i = 0; i < count_; ++i) block[i] = std::move(elements_[i]);
        delete[] elements_;
        elements_ = block;
        capacity_ = capacity;
        return kOk;
    }

    T* elements_ = nullptr;
    int32_t count_ = 0;
    int32_t capacity_ = 0;
    int32_t initialCapacity_;
    int32_t growthStep_;
};

}  // namespace zel
