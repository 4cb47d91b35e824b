// Result codes shared by every engine operation.
#pragma once

#include <cstdint>

namespace zel {

constexpr int32_t kOk = 0;               // success
constexpr int32_t kFailed = 1;           // failed; the reason has been logged
constexpr int32_t kOutOfMemory = 2;      // an allocation failed
constexpr int32_t kInvalidArgument = 3;  // null pointer, duplicate or not found

}  // namespace zel
