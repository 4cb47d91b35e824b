// An engine text (Windows-1251 bytes, whatever the system's ANSI code page
// is) as UTF-16 for the wide Win32 calls. Handed to an "A" function the same
// bytes would be read in the system's code page: mojibake on a Russian
// display language over another ANSI code page.
#pragma once

#include <string>

namespace zel::os {

class WideText {
public:
    static constexpr unsigned kCodePage = 1251;

    // Converts the zero-terminated text; null gives the empty text, and so
    // does a text the system cannot convert.
    explicit WideText(const char* text);

    // Zero-terminated; valid while this object lives.
    const wchar_t* CStr() const { return text_.c_str(); }

private:
    std::wstring text_;
};

}  // namespace zel::os
