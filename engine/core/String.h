// The engine string: single-byte Windows-1251 characters with a terminating
// zero and an explicit length. Equality compares lengths, then bytes.
#pragma once

#include <cstdint>

namespace zel {

class String {
public:
    String();
    // length -1 means: up to the terminating zero. A null text is empty.
    String(const char* text, int32_t length = -1);
    String(const String& other);
    String(String&& other) noexcept;
    ~String();

    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    String& operator=(const char* text);

    // Replaces the characters; the block is reused when the length is equal.
    // On allocation failure the string becomes empty and false is returned.
    bool Assign(const char* text, int32_t length);

    int32_t Length() const { return length_; }
    bool IsEmpty() const { return length_ == 0; }
    const char* CStr() const { return text_; }
    char operator[](int32_t index) const { return text_[index]; }

    bool operator==(const String& other) const;
    bool operator!=(const String& other) const { return !(*this == other); }

private:
    void Release();

    char* text_;
    int32_t length_;
};

}  // namespace zel
