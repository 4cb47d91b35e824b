// An owned block of bytes, handed on with Release. Image decoders fill one
// and give it to an Image; encoders fill one and write it to a file.
#pragma once

#include <cstdint>

namespace zel {

class ByteBlock {
public:
    ByteBlock() = default;
    ~ByteBlock() { delete[] data_; }
    ByteBlock(ByteBlock&& other) noexcept;
    ByteBlock& operator=(ByteBlock&& other) noexcept;
    ByteBlock(const ByteBlock&) = delete;
    ByteBlock& operator=(const ByteBlock&) = delete;

    // Replaces the content with `size` uninitialised bytes (no block for
    // 0). kOk; kOutOfMemory when it cannot be allocated or the size is
    // negative or beyond INT32_MAX (the block is then empty).
    int32_t Allocate(int64_t size);
    // Takes ownership of `data` (allocated with new[]) holding `size`
    // meaningful bytes, freeing the block held before.
    void Adopt(uint8_t* data, int32_t size);
    // Gives up the block (allocated with new[]) to the caller; empty after.
    uint8_t* Release();
    // Frees the block.
    void Reset();

    uint8_t* Data() const { return data_; }
    int32_t Size() const { return size_; }

private:
    uint8_t* data_ = nullptr;  // owned
    int32_t size_ = 0;
};

}  // namespace zel
