// Environment variables that make a run of the show reproducible, read once
// at start (see the README's "Test hooks"):
//   ZEL_FIXED_STEP=<seconds>      every frame's dt
//   ZEL_SEED=<unsigned>           srand after the engine starts
//   ZEL_FRAMES=<n>                the frame loop ends after frame n
//   ZEL_CAPTURE_DIR=<path>        where captured frames go
//   ZEL_CAPTURE_FRAMES=<n>[,<n>]  frames (from 1; 0 the loading screen)
//   ZEL_PREVIEW_HOST=<x>,<y>,<w>,<h>  /p hosts its preview in a top-level
//                                 window of its own at that rectangle
//   ZEL_WINDOWED=<w>x<h>          /s runs in a framed window of that client
//                                 size instead of full screen
// A value that does not parse is ignored and named in the log.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/core/String.h"
#include "engine/platform/DisplaySystem.h"

namespace zel {

struct TestHooks {
    bool hasFixedStep = false;
    double fixedStep = 0.0;
    bool hasSeed = false;
    uint32_t seed = 0;
    bool hasFrameLimit = false;
    uint32_t frameLimit = 0;
    String captureDirectory;
    std::vector<uint32_t> captureFrames;
    // Where the preview's own host window goes, instead of inside the
    // window on the command line (whose picture another process cannot
    // show under Wine).
    bool hasPreviewHost = false;
    WindowRect previewHost;
    // The show's window size when it runs in a window instead of full
    // screen (for watching it beside other windows).
    bool hasWindowed = false;
    int32_t windowedWidth = 0;
    int32_t windowedHeight = 0;

    // Reads the variables through `lookup` (null for an unset one).
    static TestHooks Read(const std::function<const char*(const char*)>& lookup);
    // From the process environment.
    static TestHooks FromEnvironment();

    bool Captures(uint32_t frame) const;
    // "frame-00050.bmp" inside the capture directory.
    String CapturePath(uint32_t frame) const;
};

}  // namespace zel
