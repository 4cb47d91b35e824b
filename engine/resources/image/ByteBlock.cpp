#include "engine/resources/image/ByteBlock.h"

#include <cstddef>
#include <new>
#include <utility>

#include "engine/core/Status.h"

namespace zel {

ByteBlock::ByteBlock(ByteBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

ByteBlock& ByteBlock::operator=(ByteBlock&& other) noexcept {
    if (this != &other) {
        delete[] data_;
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

int32_t ByteBlock::Allocate(int64_t size) {
    Reset();
    if (size < 0 || size > INT32_MAX) return kOutOfMemory;
    if (size == 0) return kOk;
    data_ = new (std::nothrow) uint8_t[static_cast<size_t>(size)];
    if (data_ == nullptr) return kOutOfMemory;
    size_ = static_cast<int32_t>(size);
    return kOk;
}

void ByteBlock::Adopt(uint8_t* data, int32_t size) {
    if (data != data_) delete[] data_;
    data_ = data;
    size_ = data != nullptr ? size : 0;
}

uint8_t* ByteBlock::Release() {
    size_ = 0;
    return std::exchange(data_, nullptr);
}

void ByteBlock::Reset() {
    delete[] std::exchange(data_, nullptr);
    size_ = 0;
}

}  // namespace zel
