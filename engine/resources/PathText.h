// Joining engine strings for paths and file names.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>

#include "engine/core/String.h"

namespace zel {

// first + second + third in one allocation; empty when the result would not
// fit an int32 length or memory runs out.
inline String ConcatStrings(const String& first, const String& second, const char* third = "") {
    int64_t thirdLength = static_cast<int64_t>(std::strlen(third));
    int64_t length = static_cast<int64_t>(first.Length()) + second.Length() + thirdLength;
    String result;
    if (length > INT32_MAX) return result;
    char* text = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (text == nullptr) return result;
    std::memcpy(text, first.CStr(), static_cast<size_t>(first.Length()));
    std::memcpy(text + first.Length(), second.CStr(), static_cast<size_t>(second.Length()));
    std::memcpy(text + first.Length() + second.Length(), third, static_cast<size_t>(thirdLength));
    result.Assign(text, static_cast<int32_t>(length));
    delete[] text;
    return result;
}

}  // namespace zel
