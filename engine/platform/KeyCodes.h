// The engine's keyboard key codes, taken from Win32 virtual-key codes.
#pragma once

#include <cstdint>

namespace zel {

// Code of every key the table does not list, the generic shift, control
// and alt keys among them.
constexpr int32_t kKeyCodeOther = 100;

// Key code (0..100) of a virtual-key code; any value outside the table,
// however large, gives kKeyCodeOther.
int32_t KeyCodeFromVirtualKey(uint64_t virtualKey);

}  // namespace zel
