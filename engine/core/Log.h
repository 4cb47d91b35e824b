// The process-wide log: four printf-style calls, one per severity. Each
// report is formatted once (cut to the 4096-byte buffer) and handed to every
// registered message output in registration order.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "engine/core/Status.h"

#if defined(__GNUC__)
#define ZEL_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define ZEL_PRINTF_FORMAT(f, a)
#endif

namespace zel {

class MessageOutput;

constexpr int32_t kLogInfo = 0;
constexpr int32_t kLogWarning = 1;
constexpr int32_t kLogError = 2;
constexpr int32_t kLogCritical = 3;

// Size of the formatting buffer, terminating zero included.
constexpr int32_t kLogBufferSize = 4096;

void LogInfo(const char* format, ...) ZEL_PRINTF_FORMAT(1, 2);
void LogWarning(const char* format, ...) ZEL_PRINTF_FORMAT(1, 2);
void LogError(const char* format, ...) ZEL_PRINTF_FORMAT(1, 2);
void LogCritical(const char* format, ...) ZEL_PRINTF_FORMAT(1, 2);
void LogMessageV(int32_t level, const char* format, va_list arguments);

// kOk registered (or already registered: a warning is logged);
// kInvalidArgument for null. The new output receives the INFO line
// announcing it as its first line. The registry holds a reference.
int32_t RegisterMessageOutput(MessageOutput* output);

// kOk removed; kInvalidArgument when not registered. The leaving output
// receives the INFO line announcing its removal as its last line.
int32_t UnregisterMessageOutput(MessageOutput* output);

int32_t GetMessageOutputCount();

}  // namespace zel
