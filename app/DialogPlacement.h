// Where the settings dialog opens the first time: its client area grown to
// the size its picture and controls were laid out for, and the window
// centred on the work area of the monitor it opened on. Everything is in the
// window manager's coordinates: the physical pixels of a program that is
// aware of the system's dots per inch.
#pragma once

#include <cstdint>

#include "engine/platform/DisplaySystem.h"

namespace zel {

struct DialogPlacement {
    // The smallest client area at 96 dots per inch (100 %).
    static constexpr int32_t kMinClientWidth = 580;
    static constexpr int32_t kMinClientHeight = 395;

    WindowRect workArea;  // the monitor's work area (its desktop less the task bars)
    WindowRect window;    // the dialog's window rectangle as the system placed it
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    uint32_t dpi = 96;    // the system's dots per inch; 0 is taken as 96

    // The new window rectangle: the window grown by what its client area
    // lacks of the smallest one (scaled to the dpi, rounded to the nearest
    // pixel), centred on the work area; a window larger than the work area
    // keeps its top left corner (and with it the title bar) on the work area.
    WindowRect Place() const;
};

}  // namespace zel
