#include "engine/os/win32/WideText.h"

#include "engine/os/win32/Windows.h"

namespace zel::os {

WideText::WideText(const char* text) {
    if (text == nullptr || *text == '\0') return;
    const int length = MultiByteToWideChar(kCodePage, 0, text, -1, nullptr, 0);
    if (length <= 1) return;
    text_.resize(static_cast<size_t>(length));
    if (MultiByteToWideChar(kCodePage, 0, text, -1, text_.data(), length) != length) {
        text_.clear();
        return;
    }
    text_.pop_back();  // the terminator the system wrote
}

}  // namespace zel::os
