// The quad flares and lens flares draw: two triangles around a centre P,
// spanned by the half-diagonals a and b, with corners 0.5 · s from P.
#pragma once

#include <cstdint>

#include "engine/core/Buffer.h"
#include "engine/math/Color.h"
#include "engine/math/Vector3.h"

namespace zel {

// a and b facing a camera whose right and up axes are given.
void FacingDiagonals(const Vector3& right, const Vector3& up, Vector3& a, Vector3& b);

// Writes the six vertices P − a·s, P + b·s, P − b·s, P + b·s, P + a·s,
// P − b·s, their coordinates on unit 0 and the colour on each, into buffers
// of six entries (shorter ones, or null, are skipped) and marks them
// changed.
void WriteFacingQuad(Vector3Buffer* positions, Vector2Buffer* texCoords, ColorBuffer* colors, const Vector3& center,
                     const Vector3& a, const Vector3& b, float size, const ColorRGBA& color);

}  // namespace zel
