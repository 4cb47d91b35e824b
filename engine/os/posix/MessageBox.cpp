// Native side of the message box seam: there is no desktop to show a box
// on, so the text goes to stderr.
#include <cstdio>

#include "engine/os/Os.h"

namespace zel::os {

void ShowSystemMessageBox(const char* text) { std::fprintf(stderr, "%s\n", text); }

}  // namespace zel::os
