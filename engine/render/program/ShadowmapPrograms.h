// Programs of the shadow receivers: a vertex program per variant (basic,
// swaying, skinned) that writes the clip position, the projective
// shadow-map coordinate (t1) and the shadow colour, and two pixel programs
// that weigh the shadow colour by the shadowed fraction: one depth
// comparison at level 1.x, five (the point and its four diagonal
// neighbours) at level 2.0.
//
// Registers: c0-c3 world × view × projection (view × projection when
// skinned), c4-c7 world × light texture matrix, c8 the shadow colour, c9 the
// wave register (amplitude, speed, time). Skinned: bones from c4 (four
// registers each), the light texture matrix at c204-c207, the colour at c208.
#pragma once

#include <cstdint>

namespace zel {

constexpr int32_t kShadowFirstBoneRegister = 4;
constexpr int32_t kShadowMaxBones = 50;
constexpr int32_t kShadowSkinnedLightRegister = 204;
constexpr int32_t kShadowSkinnedColorRegister = 208;

extern const char kShadowBasicVs[];
extern const char kShadowWaveVs[];
extern const char kShadowSkinnedVs[];
extern const char kShadowPs11[];
extern const char kShadowSoftPs[];

}  // namespace zel
