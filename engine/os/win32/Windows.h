// The one way engine sources include the Win32 headers. windows.h defines
// RegisterClass and UnregisterClass as macros, which would rename the class
// factory's functions in every file that sees both, so they are undefined here.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef RegisterClass
#undef UnregisterClass
