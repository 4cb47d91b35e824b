// The library's error codes, as BASS_ErrorGetCode reports them.
#pragma once

#include <cstdint>

namespace zel::audio {

constexpr int32_t kErrorOk = 0;
constexpr int32_t kErrorMemory = 1;       // out of memory
constexpr int32_t kErrorDriver = 3;       // no output device can be opened
constexpr int32_t kErrorHandle = 5;       // not a valid stream handle
constexpr int32_t kErrorInit = 8;         // BASS_Init has not succeeded
constexpr int32_t kErrorAlready = 14;     // already initialised
constexpr int32_t kErrorNoChannel = 18;   // too many streams
constexpr int32_t kErrorParameter = 20;   // an argument is out of range
constexpr int32_t kErrorNo3D = 21;        // a 3D call on a stream made without the 3D flag
constexpr int32_t kErrorDevice = 23;      // no such device
constexpr int32_t kErrorFormat = 41;      // the file's format is not supported or the data are damaged
constexpr int32_t kErrorUnknown = -1;

}  // namespace zel::audio
