// The system's message pump, run once per input pass.
#pragma once

#include <cstdint>

namespace zel {

// Dispatches every message waiting in the thread's queue to its window
// procedure, which posts the input events. 0 ok. Natively there is no system
// queue and this does nothing.
int32_t PumpMessages();

}  // namespace zel
