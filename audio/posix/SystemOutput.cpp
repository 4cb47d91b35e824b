// The native build plays through no device: only the WAV-file output.
#include "audio/Output.h"

namespace zel::audio {

std::unique_ptr<Output> CreateSystemOutput() { return nullptr; }
bool HasSystemOutput() { return false; }
const char* GetSystemOutputDescription() { return nullptr; }

}  // namespace zel::audio
