// The two archives the screensaver carries: the pictures the application
// itself shows ("custom") and the show ("media").
#pragma once

#include <string>

namespace zel {

// The image, scene and archive codecs the content needs; call once after
// the engine started.
void LoadContentCodecs();

// Writes the files of `what` ("custom" or "media") into ARCHIVE + ".d/" and
// packs them into `archive`: compressed, JPEG and Ogg files stored, every
// entry with the same fixed time so that a build repeats byte for byte.
// 0 ok; 1 failed (reported on standard error); 2 unknown `what`.
int MakeContentArchive(const std::string& what, const std::string& archive);

}  // namespace zel
