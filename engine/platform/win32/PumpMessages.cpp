#include "engine/platform/MessagePump.h"

#include "engine/core/Status.h"
#include "engine/os/win32/Windows.h"

namespace zel {

int32_t PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return kOk;
}

}  // namespace zel
