// The virtual-key table: keys it holds, keys it leaves out and values far
// outside the key range.
#include <gtest/gtest.h>

#include "engine/platform/KeyCodes.h"

namespace zel {
namespace {

// Every row is checked against the system's key names by the Windows test.
TEST(KeyCodesTest, KeysOfTheTable) {
    EXPECT_EQ(KeyCodeFromVirtualKey(0x74), 54);  // F5
    EXPECT_EQ(KeyCodeFromVirtualKey(0x5A), 35);  // Z
    EXPECT_EQ(KeyCodeFromVirtualKey(0x30), 0);   // digit 0
    EXPECT_EQ(KeyCodeFromVirtualKey(0x69), 83);  // numeric keypad 9
    EXPECT_EQ(KeyCodeFromVirtualKey(0x26), 99);  // up arrow
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
