// The pictures the screensaver itself shows, drawn in code: the loading
// screen and its corners, the clock's glyphs and the dialog pictures.
#pragma once

#include <string>

namespace zel {

// Writes every picture into `directory` under its archive name. 0 ok, 1
// failed (reported on standard error).
int WriteCustomPictures(const std::string& directory);

}  // namespace zel
