#include "engine/platform/MessagePump.h"

#include "engine/core/Status.h"

namespace zel {

int32_t PumpMessages() { return kOk; }

}  // namespace zel
