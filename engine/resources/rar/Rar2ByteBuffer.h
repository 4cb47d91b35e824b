// Growable byte block whose growth never throws: a failed allocation makes
// the buffer fail for good, which the writer checks once at the end.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zel {

class Rar2ByteBuffer {
public:
    Rar2ByteBuffer() = default;
    ~Rar2ByteBuffer();
    Rar2ByteBuffer(const Rar2ByteBuffer&) = delete;
    Rar2ByteBuffer& operator=(const Rar2ByteBuffer&) = delete;

    bool Reserve(size_t capacity);
    void Append(const uint8_t* bytes, size_t count);
    void AppendByte(uint8_t byte) {
        if (size_ < capacity_)
            data_[size_++] = byte;
        else
            Append(&byte, 1);
    }
    void AppendU16(uint32_t value);
    void AppendU32(uint32_t value);
    // Overwrites bytes already appended (headers patched after their data).
    void PutU16(size_t at, uint32_t value);
    void PutU32(size_t at, uint32_t value);
    void Clear() { size_ = 0; }

    // Hands the block to the caller (delete[]); the buffer becomes empty.
    uint8_t* Release();

    const uint8_t* Data() const { return data_; }
    uint8_t* Data() { return data_; }
    size_t Size() const { return size_; }
    bool Failed() const { return failed_; }

private:
    uint8_t* data_ = nullptr;  // owned
    size_t size_ = 0;
    size_t capacity_ = 0;
    bool failed_ = false;
};

}  // namespace zel
