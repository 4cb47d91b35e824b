#include "engine/render/program/ShadowmapPrograms.h"

#include "engine/render/program/MaterialProgramBlocks.h"
#include "engine/render/program/MaterialProgramTables.h"

namespace zel {

// The clip position and the shadow-map coordinate of the position in r0,
// and the shadow colour.
#define ZEL_SHADOW_OUTPUTS(LIGHT, COLOR) \
    "m4x4 oPos, r0, c0\n"                \
    "m4x4 oT1, r0, " LIGHT "\n"          \
    "mov oD0, " COLOR "\n"

const char kShadowBasicVs[] =
    "vs_1_1\n"
    "; in: v0 position\n"
    "; c0-c3 world*view*projection, c4-c7 world*light texture matrix, c8 shadow colour\n"
    "; out: position, shadow-map coordinate (t1), shadow colour\n"
    "dcl_position v0\n"
    ZEL_POSITION_BASIC
    ZEL_SHADOW_OUTPUTS("c4", "c8");

const char kShadowWaveVs[] =
    "vs_1_1\n"
    "; in: v0 position, v1 texture coordinates of set 0\n"
    "; c0-c8 as the basic program, c9 wave register (amplitude, speed, time)\n"
    "; out: position, shadow-map coordinate (t1), shadow colour\n"
    ZEL_WAVE_DEFS
    "dcl_position v0\n"
    "dcl_texcoord0 v1\n"
    "; sway weight 1 - v: the texture's top row sways most\n"
    "add r4.x, c93.y, -v1.y\n"
    ZEL_POSITION_WAVE_BY("c9", "r4.x")
    ZEL_SHADOW_OUTPUTS("c4", "c8");

const char kShadowSkinnedVs[] =
    "vs_2_0\n"
    "; in: v0 position, v1 blend weights, v2 bone indices\n"
    "; c0-c3 view*projection, bones from c4, c204-c207 light texture matrix,\n"
    "; c208 shadow colour\n"
    "; out: position, shadow-map coordinate (t1), shadow colour\n"
    ZEL_SKIN_DEFS
    "dcl_position v0\n"
    "dcl_blendweight v1\n"
    "dcl_blendindices v2\n"
    ZEL_POSITION_SKINNED_AT("4", "5", "6")
    ZEL_SHADOW_OUTPUTS("c204", "c208");

const char kShadowPs11[] =
    "ps.1.1\n"
    "; in: t1 shadow-map coordinate (projective), v0 shadow colour\n"
    "; out: shadow colour * (1 - lit), lit the depth comparison\n"
    "tex t1\n"
    "mul r0, v0, 1-t1\n";

const char kShadowSoftPs[] =
    "ps_2_0\n"
    "; in: t1 shadow-map coordinate (projective), v0 shadow colour\n"
    "; c0 = (1 / map width, 1 / map height); s0 shadow map\n"
    "; out: shadow colour * (1 - 0.2 * the five comparisons)\n"
    "def c1, 1, -1, 0.2, 0\n"
    "dcl t1\n"
    "dcl v0\n"
    "dcl_2d s0\n"
    "; the texel step before the division by w\n"
    "mul r0.xy, c0, t1.w\n"
    "texldp r1, t1, s0\n"
    "; the four diagonal neighbours: (+, +), (-, -), (+, -), (-, +)\n"
    "mov r2, t1\n"
    "add r2.xy, t1, r0\n"
    "mov r3, t1\n"
    "add r3.xy, t1, -r0\n"
    "mov r4, t1\n"
    "mad r4.xy, r0, c1, t1\n"
    "mov r5, t1\n"
    "mad r5.xy, r0, -c1, t1\n"
    "texldp r2, r2, s0\n"
    "texldp r3, r3, s0\n"
    "texldp r4, r4, s0\n"
    "texldp r5, r5, s0\n"
    "add r1, r1, r2\n"
    "add r1, r1, r3\n"
    "add r1, r1, r4\n"
    "add r1, r1, r5\n"
    "; weight = 1 - 0.2 * sum\n"
    "mad r1, r1, -c1.z, c1.x\n"
    "mul r1, r1, v0\n"
    "mov oC0, r1\n";

#undef ZEL_SHADOW_OUTPUTS

const NamedMaterialProgram kShadowPrograms[kShadowProgramCount] = {
    {"shadow_basic.vsh", kShadowBasicVs},       {"shadow_wave.vsh", kShadowWaveVs},
    {"shadow_skinned.vsh", kShadowSkinnedVs},   {"shadow_hard.psh", kShadowPs11},
    {"shadow_soft.psh", kShadowSoftPs},
};

}  // namespace zel
