// Programs of the two water surfaces: a normal map drifting in two layers
// on a circle distorts a screen-space reflection (quiet water), or blends a
// screen-space refraction into the reflection by a Fresnel lookup.
#include "engine/render/program/MaterialProgramBlocks.h"
#include "engine/render/program/MaterialProgramTables.h"

namespace zel {

namespace {

// Clip-space position (t1), the two drifting normal-map layers (t2, t3)
// from the coordinates in v1: uv scale + (r sin, -r cos) and
// uv scale + (-r sin, r cos), with c10 = (scale u, scale v, r sin wt, r cos wt).
#define ZEL_WATER_LAYERS                                                      \
    ZEL_FOG_DEFS                                                              \
    "def c12, 1, -1, 0, 0\n"

#define ZEL_WATER_BODY(TEXCOORD)                                              \
    "m4x4 r1, v0, c0\n"                                                       \
    "mov oPos, r1\n"                                                          \
    "; clip-space position: the pixel program divides by w\n"                \
    "mov oT1, r1\n"                                                           \
    "; two normal-map layers drifting on the circle in opposite directions\n" \
    "mov r2, c10\n"                                                           \
    "mul r2.xy, r2.zwzw, c12\n"                                               \
    "mul r3.xy, " TEXCOORD ", c10\n"                                          \
    "add oT2.xy, r3, r2\n"                                                    \
    "add oT3.xy, r3, -r2\n"                                                   \
    "; the effect colour\n"                                                   \
    "mov oD0, c8\n"

const char kQuietWaterVs[] =
    "vs_2_0\n"
    "; in: v0 position, v1 normal-map coordinates\n"
    "; c0-c3 world*view*projection, c4-c7 world*view, c8 colour, c9 camera\n"
    "; (object space), c10 (scale u, scale v, r sin wt, r cos wt), c11 fog register\n"
    "; out: position, clip position (t1), layers (t2, t3), P - eye (t4), colour, fog\n"
    ZEL_WATER_LAYERS
    "dcl_position v0\n"
    "dcl_texcoord1 v1\n"
    ZEL_WATER_BODY("v1")
    "; view vector P - eye\n"
    "add oT4.xyz, v0, -c9\n"
    ZEL_FOG_PLAIN("c11");

const char kQuietWaterPs[] =
    "ps_2_0\n"
    "; in: t1 clip position, t2 and t3 normal-map layers, t4 P - eye, v0 colour\n"
    "; c0.x distortion; s0 normal map, s1 reflection (screen space)\n"
    "def c1, 0.5, -0.5, 0.5, 0\n"
    "dcl t1\n"
    "dcl t2.xy\n"
    "dcl t3.xy\n"
    "dcl t4.xyz\n"
    "dcl v0\n"
    "dcl_2d s0\n"
    "dcl_2d s1\n"
    "; d = (n(layer 1) - n(layer 2)) distortion\n"
    "texld r0, t2, s0\n"
    "texld r1, t3, s0\n"
    "add r0, r0, -r1\n"
    "mul r0, r0, c0.x\n"
    "; reflection at (x/w, y/w) (0.5, -0.5) + (d.x, d.z) + 0.5\n"
    "rcp r2.w, t1.w\n"
    "mul r2.xy, t1, r2.w\n"
    "mad r2.xy, r2, c1, c1.x\n"
    "mov r3.x, r0.x\n"
    "mov r3.y, r0.z\n"
    "add r2.xy, r2, r3\n"
    "texld r3, r2, s1\n"
    "; rgb = reflection + saturate(d.v)^2, alpha = v.x^2 + v.z^2\n"
    "nrm r4.xyz, t4\n"
    "dp3_sat r5.x, r0, r4\n"
    "mul r5.x, r5.x, r5.x\n"
    "add r3.xyz, r3, r5.x\n"
    "mul r6.x, r4.x, r4.x\n"
    "mad r3.w, r4.z, r4.z, r6.x\n"
    "; times the colour\n"
    "mul r3, r3, v0\n"
    "mov oC0, r3\n";

const char kRefractiveWaterVs[] =
    "vs_2_0\n"
    "; in: v0 position, v1 normal, v2 normal-map coordinates\n"
    "; c0-c3 world*view*projection, c4-c7 world*view, c8 colour, c9 camera\n"
    "; (object space), c10 (scale u, scale v, r sin wt, r cos wt), c11 fog register\n"
    "; out: position, clip position (t1), layers (t2, t3), eye - P (t4),\n"
    "; normal (t5), colour, fog\n"
    ZEL_WATER_LAYERS
    "dcl_position v0\n"
    "dcl_normal v1\n"
    "dcl_texcoord1 v2\n"
    ZEL_WATER_BODY("v2")
    "; view vector eye - P and the normal for the Fresnel lookup\n"
    "add oT4.xyz, c9, -v0\n"
    "mov oT5.xyz, v1\n"
    ZEL_FOG_PLAIN("c11");

const char kRefractiveWaterPs[] =
    "ps_2_0\n"
    "; in: t1 clip position, t2 and t3 normal-map layers, t4 eye - P, t5 normal,\n"
    "; v0 colour\n"
    "; c0.x refraction distortion, c2.x reflection distortion; s0 normal map,\n"
    "; s1 Fresnel map, s2 reflection, s3 refraction (both screen space)\n"
    "def c1, 0.5, -0.5, 0, 0\n"
    "dcl t1\n"
    "dcl t2.xy\n"
    "dcl t3.xy\n"
    "dcl t4.xyz\n"
    "dcl t5.xyz\n"
    "dcl v0\n"
    "dcl_2d s0\n"
    "dcl_2d s1\n"
    "dcl_2d s2\n"
    "dcl_2d s3\n"
    "; d = n(layer 1).xz - n(layer 2).xz\n"
    "texld r0, t2, s0\n"
    "texld r1, t3, s0\n"
    "add r0, r0, -r1\n"
    "mov r1.x, r0.x\n"
    "mov r1.y, r0.z\n"
    "; screen position s = (x/w, y/w) (0.5, -0.5) + 0.5\n"
    "rcp r2.w, t1.w\n"
    "mul r2.xy, t1, r2.w\n"
    "mad r2.xy, r2, c1, c1.x\n"
    "; refraction at s + d c0.x times the colour, reflection at s + d c2.x\n"
    "mad r3.xy, r1, c0.x, r2\n"
    "mad r4.xy, r1, c2.x, r2\n"
    "texld r3, r3, s3\n"
    "texld r4, r4, s2\n"
    "mul r3, r3, v0\n"
    "; Fresnel factor by the cosine of the viewing angle\n"
    "nrm r5.xyz, t4\n"
    "nrm r6.xyz, t5\n"
    "dp3 r7.x, r5, r6\n"
    "mov r7.y, c1.z\n"
    "texld r7, r7, s1\n"
    "; refraction + F (reflection - refraction)\n"
    "lrp r8, r7, r4, r3\n"
    "mov oC0, r8\n";

constexpr MaterialPrograms Water(const char* vertex, const char* pixel) {
    return {{{}, {vertex, pixel}}, {}, {}};
}

}  // namespace

const MaterialPrograms kQuietWaterPrograms = Water(kQuietWaterVs, kQuietWaterPs);
const MaterialPrograms kRefractiveWaterPrograms = Water(kRefractiveWaterVs, kRefractiveWaterPs);

const NamedMaterialProgram kWaterPrograms[kWaterProgramCount] = {
    {"quiet_water.vsh", kQuietWaterVs},
    {"quiet_water.psh", kQuietWaterPs},
    {"refractive_water.vsh", kRefractiveWaterVs},
    {"refractive_water.psh", kRefractiveWaterPs},
};

}  // namespace zel
