// The Windows headers as the application includes them: through the
// engine's one way (which undefines RegisterClass and UnregisterClass),
// plus the common controls. GetMessage and DrawText, macros of the
// Windows headers, would rename the application's own functions, so they
// are undefined too; the application calls the "A" functions by name.
#pragma once

#include "engine/os/win32/Windows.h"

#include <commctrl.h>

#undef GetMessage
#undef DrawText
