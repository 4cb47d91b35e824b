// The virtual-key table: every row, the keys it leaves out and values far
// outside the key range.
#include <gtest/gtest.h>

#include "engine/platform/KeyCodes.h"

namespace zel {
namespace {

struct KeyRow {
    uint64_t virtualKey;  // Win32 VK_* value
    int32_t code;
};

TEST(KeyCodesTest, EveryRowOfTheTable) {
    const KeyRow rows[] = {
        {0x30, 0},  {0x39, 9},  {0x41, 10}, {0x5A, 35},  // digits, letters (Z)
        {0x6B, 36}, {0xDE, 37}, {0x08, 38}, {0xDC, 39}, {0x14, 40}, {0xBC, 41}, {0x2E, 42}, {0x6F, 43},
        {0xBE, 44}, {0x28, 45}, {0x23, 46}, {0x0D, 47}, {0xBB, 48}, {0x1B, 49},
        {0x70, 50}, {0x74, 54}, {0x7B, 61},  // F1, F5, F12
        {0xC0, 62}, {0x24, 63}, {0x2D, 64}, {0xDB, 65}, {0xA2, 66}, {0x25, 67}, {0xA4, 68}, {0xA0, 69},
        {0xBD, 70}, {0x6A, 71}, {0x22, 72}, {0x90, 73},
        {0x60, 74}, {0x69, 83},  // numeric keypad 0, 9
        {0x6E, 84}, {0x6D, 85}, {0x13, 86}, {0x21, 87}, {0x2C, 88}, {0xDD, 89}, {0xA3, 90}, {0x27, 91},
        {0xA5, 92}, {0xA1, 93}, {0x91, 94}, {0xBA, 95}, {0xBF, 96}, {0x20, 97}, {0x09, 98}, {0x26, 99},
    };
    for (const KeyRow& row : rows)
        EXPECT_EQ(KeyCodeFromVirtualKey(row.virtualKey), row.code) << std::hex << row.virtualKey;
}

TEST(KeyCodesTest, KeysOutsideTheTableGiveOther) {
    const uint64_t others[] = {
        0x10, 0x11, 0x12,         // generic shift, control, alt
        0x00, 0x2F, 0x3A, 0x40,   // around the digits
        0x5B, 0x7C, 0xFF,         // Windows key, F13, past the keys
        0x100000030ull, ~0ull,    // a digit's value in a wider word
    };
    for (uint64_t key : others) EXPECT_EQ(KeyCodeFromVirtualKey(key), kKeyCodeOther) << std::hex << key;
}

}  // namespace
}  // namespace zel
