// The one way engine sources include the Win32 headers. windows.h defines
// RegisterClass as a macro, which would rename zel::RegisterClass of the
// class factory in every file that sees both, so it is undefined here.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef RegisterClass
