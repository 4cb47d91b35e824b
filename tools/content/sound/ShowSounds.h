// The show's music and sound effects as Ogg Vorbis files.
#pragma once

#include <string>

namespace zel {

// Synthesises the show's music and sound effects and writes them as Ogg
// Vorbis files into `directory`: "music.ogg", "car.ogg", "sea.ogg",
// "gull1.ogg", "gull2.ogg" and "bell.ogg". The same bytes on every run.
// 0 ok, 1 failed (reported on stderr).
int WriteShowSounds(const std::string& directory);

}  // namespace zel
