// The engine's texts are Windows-1251 bytes (the log files keep them so);
// a terminal on this side reads UTF-8, so the tools convert what they print.
#pragma once

#include <string>

namespace zel {

// `text` (zero-terminated, Windows-1251) as UTF-8. The one byte the code page
// leaves unassigned (0x98) becomes U+FFFD.
std::string Cp1251ToUtf8(const char* text);

}  // namespace zel
