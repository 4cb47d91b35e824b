// The input manager: a queue of input events, posted by the window procedure
// while messages are pumped, and a list of handlers that each receive every
// queued event once per processing pass.
#pragma once

#include <cstdint>

#include "engine/platform/InputEvent.h"

namespace zel {

class InputHandler;

class InputManager {
public:

    // Creates the queue (room for 128 events, growing by 128) and installs
    // the system's window calls where there are any. 0 ok; 1 out of memory.
    [[nodiscard]] static int32_t Initialize();
    // Deletes the queue, releases every handler and uninstalls the window
    // calls. Returns 0.
    static int32_t Terminate();

    // The queue's room, 0 while the manager is not initialised.
    static int32_t GetQueueCapacity();
};

// Puts the handler at the front of the list, holding a reference until the
// manager terminates. 0 registered or already registered (warning);
// 3 null; 2 out of memory.
int32_t RegisterInputHandler(InputHandler* handler);

// Appends the event to the queue; dropped while the manager is not
// initialised or when the queue cannot grow.
void PostInputEvent(const InputEvent& event);

// Pumps the system's messages, then hands each event queued before the
// handlers were called to every handler (the most recently registered first),
// in the order posted, and empties the queue of them. Events posted by a
// handler wait for the next pass; a pass started from inside a handler only
// pumps. Handlers must not terminate the manager. 0 ok; 1 the pump failed.
int32_t ProcessInput();

}  // namespace zel
