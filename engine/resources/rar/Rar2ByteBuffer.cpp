#include "engine/resources/rar/Rar2ByteBuffer.h"

#include <cstring>
#include <new>

namespace zel {

Rar2ByteBuffer::~Rar2ByteBuffer() { delete[] data_; }

bool Rar2ByteBuffer::Reserve(size_t capacity) {
    if (failed_) return false;
    if (capacity <= capacity_) return true;
    uint8_t* grown = new (std::nothrow) uint8_t[capacity];
    if (grown == nullptr) {
        failed_ = true;
        return false;
    }
    if (size_ > 0) std::memcpy(grown, data_, size_);
    delete[] data_;
    data_ = grown;
    capacity_ = capacity;
    return true;
}

void Rar2ByteBuffer::Append(const uint8_t* bytes, size_t count) {
    if (failed_ || count == 0) return;
    if (count > capacity_ - size_) {
        size_t wanted = size_ + count;
        if (wanted < size_) {
            failed_ = true;
            return;
        }
        // Doubling keeps appends amortised constant.
        size_t capacity = capacity_ < 256 ? 256 : capacity_;
        while (capacity < wanted) capacity = capacity * 2 > capacity ? capacity * 2 : wanted;
        if (!Reserve(capacity)) return;
    }
    std::memcpy(data_ + size_, bytes, count);
    size_ += count;
}

void Rar2ByteBuffer::AppendU16(uint32_t value) {
    uint8_t b[2] = {uint8_t(value), uint8_t(value >> 8)};
    Append(b, 2);
}

void Rar2ByteBuffer::AppendU32(uint32_t value) {
    uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    Append(b, 4);
}

void Rar2ByteBuffer::PutU16(size_t at, uint32_t value) {
    if (failed_ || at + 2 > size_) return;
    data_[at] = uint8_t(value);
    data_[at + 1] = uint8_t(value >> 8);
}

void Rar2ByteBuffer::PutU32(size_t at, uint32_t value) {
    if (failed_ || at + 4 > size_) return;
    for (int i = 0; i < 4; ++i) data_[at + i] = uint8_t(value >> (8 * i));
}

uint8_t* Rar2ByteBuffer::Release() {
    uint8_t* data = data_;
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
    return data;
}

}  // namespace zel
