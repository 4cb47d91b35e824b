#include "engine/platform/KeyCodes.h"

namespace zel {

namespace {

// A run of consecutive virtual keys with consecutive key codes.
struct KeyRun {
    uint8_t firstVirtualKey;
    uint8_t lastVirtualKey;
    int8_t firstCode;
};

// Virtual-key values are Win32's (VK_*), spelled out so that this table
// builds everywhere.
constexpr KeyRun kKeyRuns[] = {
    {0x30, 0x39, 0},   // digits 0-9
    {0x41, 0x5A, 10},  // letters A-Z
    {0x6B, 0x6B, 36},  // numeric keypad add
    {0xDE, 0xDE, 37},  // apostrophe (OEM 7)
    {0x08, 0x08, 38},  // backspace
    {0xDC, 0xDC, 39},  // backslash (OEM 5)
    {0x14, 0x14, 40},  // caps lock
    {0xBC, 0xBC, 41},  // comma
    {0x2E, 0x2E, 42},  // delete
    {0x6F, 0x6F, 43},  // numeric keypad divide
    {0xBE, 0xBE, 44},  // full stop
    {0x28, 0x28, 45},  // down arrow
    {0x23, 0x23, 46},  // end
    {0x0D, 0x0D, 47},  // enter
    {0xBB, 0xBB, 48},  // equals (OEM plus)
    {0x1B, 0x1B, 49},  // escape
    {0x70, 0x7B, 50},  // F1-F12
    {0xC0, 0xC0, 62},  // grave accent (OEM 3)
    {0x24, 0x24, 63},  // home
    {0x2D, 0x2D, 64},  // insert
    {0xDB, 0xDB, 65},  // left bracket (OEM 4)
    {0xA2, 0xA2, 66},  // left control
    {0x25, 0x25, 67},  // left arrow
    {0xA4, 0xA4, 68},  // left alt
    {0xA0, 0xA0, 69},  // left shift
    {0xBD, 0xBD, 70},  // minus
    {0x6A, 0x6A, 71},  // numeric keypad multiply
    {0x22, 0x22, 72},  // page down
    {0x90, 0x90, 73},  // num lock
    {0x60, 0x69, 74},  // numeric keypad 0-9
    {0x6E, 0x6E, 84},  // numeric keypad decimal point
    {0x6D, 0x6D, 85},  // numeric keypad subtract
    {0x13, 0x13, 86},  // pause
    {0x21, 0x21, 87},  // page up
    {0x2C, 0x2C, 88},  // print screen
    {0xDD, 0xDD, 89},  // right bracket (OEM 6)
    {0xA3, 0xA3, 90},  // right control
    {0x27, 0x27, 91},  // right arrow
    {0xA5, 0xA5, 92},  // right alt
    {0xA1, 0xA1, 93},  // right shift
    {0x91, 0x91, 94},  // scroll lock
    {0xBA, 0xBA, 95},  // semicolon (OEM 1)
    {0xBF, 0xBF, 96},  // slash (OEM 2)
    {0x20, 0x20, 97},  // space
    {0x09, 0x09, 98},  // tab
    {0x26, 0x26, 99},  // up arrow
};

}  // namespace

int32_t KeyCodeFromVirtualKey(uint64_t virtualKey) {
    for (const KeyRun& run : kKeyRuns)
        if (virtualKey >= run.firstVirtualKey && virtualKey <= run.lastVirtualKey)
            return run.firstCode + static_cast<int32_t>(virtualKey - run.firstVirtualKey);
    return kKeyCodeOther;
}

}  // namespace zel
