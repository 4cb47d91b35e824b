// The show's textures, drawn in code: the harbour's ground, buildings and
// sky, foliage, particles, lens flare and small lookup pictures.
#pragma once

#include <string>

namespace zel {

// Draws the show's textures into `directory` under their archive names.
// 0 ok, 1 failed (reported on stderr).
int WriteShowTextures(const std::string& directory);

}  // namespace zel
