#include "engine/core/String.h"

#include <cstring>
#include <new>
#include <utility>

namespace zel {

namespace {
// Shared terminator for every empty string, so empty strings never allocate
// and a failed allocation still leaves a valid string behind.
char gEmptyText[1] = {0};
}  // namespace

String::String() : text_(gEmptyText), length_(0) {}

String::String(const char* text, int32_t length) : text_(gEmptyText), length_(0) {
    if (text == nullptr) return;
    Assign(text, length < 0 ? static_cast<int32_t>(std::strlen(text)) : length);
}

String::String(const String& other) : text_(gEmptyText), length_(0) {
    Assign(other.text_, other.length_);
}

String::String(String&& other) noexcept : text_(other.text_), length_(other.length_) {
    other.text_ = gEmptyText;
    other.length_ = 0;
}

String::~String() { Release(); }

String& String::operator=(const String& other) {
    if (this != &other) Assign(other.text_, other.length_);
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        Release();
        text_ = std::exchange(other.text_, gEmptyText);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

String& String::operator=(const char* text) {
    if (text == nullptr)
        Assign("", 0);
    else
        Assign(text, static_cast<int32_t>(std::strlen(text)));
    return *this;
}

bool String::Assign(const char* text, int32_t length) {
    if (length <= 0) {
        Release();
        return true;
    }
    if (length == length_) {
        std::memmove(text_, text, static_cast<size_t>(length));
        return true;
    }
    // Copy before releasing: text may lie inside the current block.
    char* block = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (block == nullptr) {
        Release();
        return false;
    }
    std::memcpy(block, text, static_cast<size_t>(length));
    block[length] = 0;
    Release();
    text_ = block;
    length_ = length;
    return true;
}

bool String::operator==(const String& other) const {
    return length_ == other.length_ && std::memcmp(text_, other.text_, static_cast<size_t>(length_)) == 0;
}

void String::Release() {
    if (text_ != gEmptyText) delete[] text_;
    text_ = gEmptyText;
    length_ = 0;
}

}  // namespace zel
