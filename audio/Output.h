// Where the mix goes: a device or a file, fed from the output's own thread,
// which asks `render` for each block of 16-bit stereo frames.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace zel::audio {

using RenderFunction = std::function<void(int16_t* out, int32_t frames)>;

class Output {
public:
    virtual ~Output() = default;
    // Opens the device or file and starts the thread; false on failure.
    virtual bool Start(int32_t rate, RenderFunction render) = 0;
    // Stops and joins the thread and closes the device or file. Must not be
    // called while holding the lock that `render` takes.
    virtual void Stop() = 0;
};

// The WAV-file output when the environment variable ZEL_AUDIO_WAV names a
// file, otherwise the system's output, or null when there is none.
std::unique_ptr<Output> CreateOutput();
// Whether CreateOutput would give an output, without opening it.
bool HasOutput();
// The description of that output.
const char* GetOutputDescription();

// The system's own output; null where there is none (the native build).
std::unique_ptr<Output> CreateSystemOutput();
bool HasSystemOutput();
const char* GetSystemOutputDescription();

}  // namespace zel::audio
