#include "audio/Output.h"

#include <cstdlib>
#include <new>

#include "audio/WavFileOutput.h"

namespace zel::audio {

namespace {

OutputFactory gFactory = nullptr;

const char* WavPath() {
    const char* path = std::getenv("ZEL_AUDIO_WAV");
    return path != nullptr && path[0] != '\0' ? path : nullptr;
}

}  // namespace

std::unique_ptr<Output> CreateOutput() {
    if (gFactory != nullptr) return gFactory();
    if (const char* path = WavPath()) return std::unique_ptr<Output>(new (std::nothrow) WavFileOutput(path));
    return CreateSystemOutput();
}

bool HasOutput() { return gFactory != nullptr || WavPath() != nullptr || HasSystemOutput(); }

const char* GetOutputDescription() {
    if (gFactory != nullptr) return "Replaced output";
    return WavPath() != nullptr ? "WAV file" : GetSystemOutputDescription();
}

void SetOutputFactory(OutputFactory factory) { gFactory = factory; }

}  // namespace zel::audio
