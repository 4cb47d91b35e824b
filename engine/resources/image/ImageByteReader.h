// A cursor over a byte block that never reads past its end: every read
// either succeeds whole or fails and leaves the position unchanged. Values
// are little-endian.
#pragma once

#include <cstdint>
#include <cstring>

namespace zel {

class ImageByteReader {
public:
    ImageByteReader(const uint8_t* data, int32_t size) : data_(data), size_(data != nullptr && size > 0 ? size : 0) {}

    int32_t GetPosition() const { return position_; }
    int32_t GetRemaining() const { return size_ - position_; }
    const uint8_t* GetCurrent() const { return data_ + position_; }

    // The next `count` bytes, or null when fewer remain; the position moves
    // past them.
    const uint8_t* Take(int64_t count) {
        if (count < 0 || count > GetRemaining()) return nullptr;
        const uint8_t* bytes = data_ + position_;
        position_ += static_cast<int32_t>(count);
        return bytes;
    }
    bool Skip(int64_t count) { return Take(count) != nullptr; }

    bool ReadUInt8(uint8_t& value) { return ReadValue(value); }
    bool ReadUInt16(uint16_t& value) { return ReadValue(value); }
    bool ReadUInt32(uint32_t& value) { return ReadValue(value); }
    bool ReadInt32(int32_t& value) { return ReadValue(value); }

private:
    // The engine targets little-endian machines only, so values are copied
    // as they lie.
    template <class T>
    bool ReadValue(T& value) {
        const uint8_t* bytes = Take(sizeof(T));
        if (bytes == nullptr) return false;
        std::memcpy(&value, bytes, sizeof(T));
        return true;
    }

    const uint8_t* data_;
    int32_t size_;
    int32_t position_ = 0;
};

}  // namespace zel
