// Where the mix goes: a device or a file, fed from the output's own thread,
// which asks `render` for each block of 16-bit stereo frames. The library
// opens it only while something is heard, so an idle program holds no
// device (an open one keeps Windows from sleeping).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace zel::audio {

// Fills `frames` stereo frames at `out`; false when that block is the last
// one this start needs: the output then plays it, closes its device or file
// and ends its thread by itself.
using RenderFunction = std::function<bool(int16_t* out, int32_t frames)>;

class Output {
public:
    virtual ~Output() = default;
    // Whether Start would find the device or file at `rate`, without
    // holding it open.
    virtual bool Probe(int32_t rate) = 0;
    // Opens the device or file and starts the thread; false on failure.
    // Also after Stop, or after the render function ended a start.
    virtual bool Start(int32_t rate, RenderFunction render) = 0;
    // Stops and joins the thread and closes the device or file. Must not be
    // called while holding the lock that `render` takes.
    virtual void Stop() = 0;
};

// The WAV-file output when the environment variable ZEL_AUDIO_WAV names a
// file, otherwise the system's output, or null when there is none.
[[nodiscard]] std::unique_ptr<Output> CreateOutput();
// Whether CreateOutput would give an output, without opening it.
bool HasOutput();
// The description of that output.
const char* GetOutputDescription();

// Replaces what CreateOutput gives (tests stand a fake output there); null
// restores the outputs above.
using OutputFactory = std::unique_ptr<Output> (*)();
void SetOutputFactory(OutputFactory factory);

// The system's own output; null where there is none (the native build).
[[nodiscard]] std::unique_ptr<Output> CreateSystemOutput();
bool HasSystemOutput();
const char* GetSystemOutputDescription();

}  // namespace zel::audio
