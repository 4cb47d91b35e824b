// Assembly blocks shared by the material programs, joined into whole
// programs by string-literal concatenation. Temporaries: r0 the position
// being drawn, r1-r4 sway and skinning scratch, r9 the skinned normal, r10
// the fog. Constant defs sit at c90-c94 (c210-c211 in skinned programs,
// whose bones fill c8-c207).
#pragma once

// Sway phases and the sine polynomial.
#define ZEL_WAVE_DEFS                                      \
    "def c90, 0.5077, -0.421, 0.3, -0.6\n"                 \
    "def c91, 0.25, 0.5, 1.31415, 0.15915494\n"            \
    "def c92, -24.980804, 60.145809, -85.453789, 64.939354\n" \
    "def c93, -19.739208, 1, 0, 0\n"

// e and the tiny depth that stands for z <= 0 in the fog.
#define ZEL_FOG_DEFS "def c94, 2.7182817, 0.0000000001, 0, 1\n"

#define ZEL_SKIN_DEFS                              \
    "def c210, 4, 0, 1, 0.0000000001\n"            \
    "def c211, 2.7182817, 0, 0, 0\n"

// r0 = the unmoved position.
#define ZEL_POSITION_BASIC "mov r0, v0\n"

// r0 = v0 swayed in object space by the wave register W (amplitude, speed,
// time): x and z move by amplitude · sin(phase) · WEIGHT.
#define ZEL_POSITION_WAVE_BY(W, WEIGHT)                                        \
    "; phases 0.5077 x - 0.421 z + S t and 0.3 y - 0.6 z + 1.31415 S t\n"     \
    "mul r1.x, v0.x, c90.x\n"                                                  \
    "mad r1.x, v0.z, c90.y, r1.x\n"                                            \
    "mul r1.y, v0.y, c90.z\n"                                                  \
    "mad r1.y, v0.z, c90.w, r1.y\n"                                            \
    "mul r2.x, " W ".y, " W ".z\n"                                             \
    "mul r2.y, r2.x, c91.z\n"                                                  \
    "add r1.xy, r1, r2\n"                                                      \
    "; sine of both: u = frac(phase / 2pi + 0.25) - 0.5, sin = P(u * u)\n"    \
    "mad r1.xy, r1, c91.w, c91.x\n"                                            \
    "frc r1.xy, r1\n"                                                          \
    "add r1.xy, r1, -c91.y\n"                                                  \
    "mul r1.xy, r1, r1\n"                                                      \
    "mad r2.xy, r1, c92.x, c92.y\n"                                            \
    "mad r2.xy, r2, r1, c92.z\n"                                               \
    "mad r2.xy, r2, r1, c92.w\n"                                               \
    "mad r2.xy, r2, r1, c93.x\n"                                               \
    "mad r2.xy, r2, r1, c93.y\n"                                               \
    "; displacement grows with the weight\n"                                   \
    "mul r2.xy, r2, " WEIGHT "\n"                                              \
    "mov r0, v0\n"                                                             \
    "mad r0.x, r2.x, " W ".x, r0.x\n"                                          \
    "mad r0.z, r2.y, " W ".x, r0.z\n"

// The material programs sway by the height y.
#define ZEL_POSITION_WAVE(W) ZEL_POSITION_WAVE_BY(W, "v0.y")

// Three rows of bone `C` (a0 component) applied to SRC by DP (dp4 points,
// dp3 directions) into r3; the bones start at register R0 (R1, R2 the next
// two, as text).
#define ZEL_SKIN_BONE_AT(DP, SRC, C, R0, R1, R2)           \
    DP " r3.x, " SRC ", c[a0." C " + " R0 "]\n"            \
    DP " r3.y, " SRC ", c[a0." C " + " R1 "]\n"            \
    DP " r3.z, " SRC ", c[a0." C " + " R2 "]\n"
#define ZEL_SKIN_BONE(DP, SRC, C) ZEL_SKIN_BONE_AT(DP, SRC, C, "8", "9", "10")

// SUM = the four weights' sum of SRC through the vertex's bones.
#define ZEL_SKIN_SUM_AT(DP, SRC, SUM, R0, R1, R2)                                  \
    ZEL_SKIN_BONE_AT(DP, SRC, "x", R0, R1, R2) "mul " SUM ".xyz, r3, r2.x\n"        \
    ZEL_SKIN_BONE_AT(DP, SRC, "y", R0, R1, R2) "mad " SUM ".xyz, r3, r2.y, " SUM "\n" \
    ZEL_SKIN_BONE_AT(DP, SRC, "z", R0, R1, R2) "mad " SUM ".xyz, r3, r2.z, " SUM "\n" \
    ZEL_SKIN_BONE_AT(DP, SRC, "w", R0, R1, R2) "mad " SUM ".xyz, r3, r2.w, " SUM "\n"
#define ZEL_SKIN_SUM(DP, SRC, SUM) ZEL_SKIN_SUM_AT(DP, SRC, SUM, "8", "9", "10")

// r0 = the world position blended from v0 by the weights v1 and bone
// indices v2, the bones from register R0 on; a0 and r2 stay set for
// ZEL_SKIN_DIRECTION.
#define ZEL_POSITION_SKINNED_AT(R0, R1, R2)                              \
    "; bone addresses: four registers per bone\n"                        \
    "mul r1, v2, c210.x\n"                                               \
    "mova a0, r1\n"                                                      \
    "; the first weight always counts, the others only when positive\n" \
    "max r2, v1, c210.y\n"                                               \
    "mov r2.x, v1.x\n"                                                   \
    "; world position: the weighted sum over the bones\n"               \
    ZEL_SKIN_SUM_AT("dp4", "v0", "r0", R0, R1, R2)                       \
    "mov r0.w, c210.z\n"

#define ZEL_POSITION_SKINNED ZEL_POSITION_SKINNED_AT("8", "9", "10")

// DEST.xyz = the direction SRC turned by the same bones.
#define ZEL_SKIN_DIRECTION(SRC, DEST) ZEL_SKIN_SUM("dp3", SRC, DEST)

#define ZEL_PROJECT "m4x4 oPos, r0, c0\n"

// oFog = 1 / e^((density · z)^exponent) from the view depth of P, with the
// fog register F, e in E and TINY a tiny positive number: a depth z <= 0 is
// raised to TINY, whose power vanishes, so the fog there is 1.
#define ZEL_FOG(P, F, E, TINY)                                 \
    "; fog = 1 / e^((density z)^exponent), 1 where z <= 0\n"   \
    "dp4 r10.x, " P ", c6\n"                                   \
    "mul r10.x, r10.x, " F ".x\n"                              \
    "max r10.x, r10.x, " TINY "\n"                             \
    "log r10.x, r10.x\n"                                       \
    "mul r10.x, r10.x, " F ".y\n"                              \
    "exp r10.x, r10.x\n"                                       \
    "log r10.y, " E "\n"                                       \
    "mul r10.x, r10.x, -r10.y\n"                               \
    "exp r10.x, r10.x\n"                                       \
    "mov oFog, r10.x\n"

#define ZEL_FOG_PLAIN(F) ZEL_FOG("v0", F, "c94.x", "c94.y")
#define ZEL_FOG_SKINNED ZEL_FOG("r0", "c209", "c211.x", "c210.w")

#define ZEL_SKINNED_INPUTS             \
    "dcl_position v0\n"                \
    "dcl_blendweight v1\n"             \
    "dcl_blendindices v2\n"
