// Programs of the effects lit by one directional light: per-vertex lighting
// (vs_1_1 with ps.1.1), per-pixel lighting (vs_2_0 with ps_2_0) and
// per-pixel lighting with a tangent-space normal map, each also times a
// light map. The light direction constant points towards the light.
#include "engine/render/program/MaterialProgramBlocks.h"
#include "engine/render/program/MaterialProgramTables.h"

namespace zel {

namespace {

// Per-vertex lighting of the normal N at r0 into oD0 (ambient + diffuse)
// and oD1 (specular + emissive).
#define ZEL_VERTEX_LIGHTING(N)                                                  \
    "; H = normalize(normalize(eye - P) + L)\n"                                \
    "add r4.xyz, c17, -r0\n"                                                   \
    "dp3 r4.w, r4, r4\n"                                                       \
    "rsq r4.w, r4.w\n"                                                         \
    "mul r4.xyz, r4, r4.w\n"                                                   \
    "add r4.xyz, r4, c16\n"                                                    \
    "dp3 r4.w, r4, r4\n"                                                       \
    "rsq r4.w, r4.w\n"                                                         \
    "mul r4.xyz, r4, r4.w\n"                                                   \
    "; lit: y = max(0, N.L), z = N.H^power (0 where N.L <= 0)\n"               \
    "dp3 r5.x, " N ", c16\n"                                                   \
    "dp3 r5.y, " N ", r4\n"                                                    \
    "mov r5.w, c12.x\n"                                                        \
    "lit r6, r5\n"                                                             \
    "; diffuse = ambient_m ambient_l + diffuse_m diffuse_l N.L\n"              \
    "mov r7, c9\n"                                                             \
    "mul r7, r7, c14\n"                                                        \
    "mul r7, r7, r6.y\n"                                                       \
    "mov r8, c8\n"                                                             \
    "mad oD0, r8, c13, r7\n"                                                   \
    "; specular = specular_m specular_l N.H^power + emissive\n"                \
    "mov r8, c10\n"                                                            \
    "mul r8, r8, c15\n"                                                        \
    "mad oD1, r8, r6.z, c11\n"

#define ZEL_VERTEX_LIT(MAP, INPUTS, POSITION, OUTPUTS)                          \
    "vs_1_1\n"                                                                 \
    "; in: v0 position, v1 normal, v2 texture coordinates" MAP "\n"           \
    "; c0-c3 world*view*projection, c4-c7 world*view, c8 ambient_m,\n"        \
    "; c9 diffuse_m, c10 specular_m, c11 emissive_m, c12.x power, c13 ambient_l,\n" \
    "; c14 diffuse_l, c15 specular_l, c16 direction to the light and c17 camera\n" \
    "; (object space), c18 fog register, c19 (0, e, 0, 0), c20 wave register\n" \
    "; out: position, lit colours, texture coordinates, fog\n"                 \
    ZEL_WAVE_DEFS ZEL_FOG_DEFS                                                 \
    "dcl_position v0\n"                                                        \
    "dcl_normal v1\n"                                                          \
    "dcl_texcoord0 v2\n" INPUTS POSITION ZEL_PROJECT                           \
    "mov oT0, v2\n" OUTPUTS ZEL_VERTEX_LIGHTING("v1") ZEL_FOG("v0", "c18", "c19.y", "c94.y")

#define ZEL_PIXEL_LIT_HEADER(MAP)                                               \
    "vs_2_0\n"                                                                 \
    "; in: v0 position, v1 normal, v2 texture coordinates" MAP "\n"           \
    "; c0-c3 world*view*projection, c4-c7 world*view, c8 camera (object space),\n" \
    "; c9 fog register, c10 wave register\n"                                   \
    "; out: position, texture coordinates, normal (t1), eye - P (t2), fog\n"  \
    ZEL_WAVE_DEFS ZEL_FOG_DEFS                                                 \
    "dcl_position v0\n"                                                        \
    "dcl_normal v1\n"                                                          \
    "dcl_texcoord0 v2\n"

#define ZEL_PIXEL_LIT_BODY(POSITION, OUTPUTS)                                   \
    POSITION ZEL_PROJECT                                                       \
    "; what the per-pixel lighting interpolates\n"                            \
    "mov oT0, v2\n"                                                            \
    "mov oT1.xyz, v1\n"                                                        \
    "add oT2.xyz, c8, -r0\n" OUTPUTS ZEL_FOG_PLAIN("c9")

#define ZEL_PIXEL_LIT_SKINNED(MAP, INPUTS, OUTPUTS)                              \
    "vs_2_0\n"                                                                 \
    "; in: v0 position, v1 blend weights, v2 bone indices, v3 normal,\n"      \
    "; v4 texture coordinates" MAP "\n"                                        \
    "; c0-c3 view*projection, c4-c7 view, bone k at c8+4k, c208 camera,\n"    \
    "; c209 fog register\n"                                                    \
    "; out: position, texture coordinates, normal (t1), eye - P (t2), fog\n"  \
    ZEL_SKIN_DEFS ZEL_SKINNED_INPUTS                                           \
    "dcl_normal v3\n"                                                          \
    "dcl_texcoord0 v4\n" INPUTS ZEL_POSITION_SKINNED                           \
    "; the normal through the same bones\n"                                    \
    ZEL_SKIN_DIRECTION("v3", "r9") ZEL_PROJECT                                 \
    "; what the per-pixel lighting interpolates\n"                            \
    "mov oT0, v4\n"                                                            \
    "mov oT1.xyz, r9\n"                                                        \
    "add oT2.xyz, c208, -r0\n" OUTPUTS ZEL_FOG_SKINNED

// The per-pixel model: tex ambient_m ambient_l + tex diffuse_m diffuse_l N.L
// + specular_m specular_l N.H^power (0 where N.L <= 0) + emissive, into r5.
#define ZEL_PIXEL_LIT(MAP, INPUTS, LIGHTMAP)                                     \
    "ps_2_0\n"                                                                 \
    "; in: t0 texture coordinates, t1 normal, t2 eye - P" MAP "\n"            \
    "; c0 specular_l, c1 specular_m, c2 direction to the light, c4.x power,\n"\
    "; c5 ambient_m, c6 ambient_l, c7 diffuse_m, c8 diffuse_l, c9 emissive_m\n" \
    "def c10, 0, 0, 0, 0\n"                                                   \
    "dcl t0.xy\n"                                                              \
    "dcl t1.xyz\n"                                                             \
    "dcl t2.xyz\n" INPUTS                                                      \
    "dcl_2d s0\n"                                                              \
    "texld r0, t0, s0\n"                                                       \
    "; N.L and N.H with H = normalize(normalize(V) + L)\n"                     \
    "nrm r1.xyz, t1\n"                                                         \
    "nrm r2.xyz, t2\n"                                                         \
    "add r2.xyz, r2, c2\n"                                                     \
    "nrm r3.xyz, r2\n"                                                         \
    "dp3 r4.x, r1, c2\n"                                                       \
    "dp3 r4.y, r1, r3\n"                                                       \
    "max r4.xy, r4, c10.x\n"                                                   \
    "; specular N.H^power, 0 where N.L <= 0\n"                                 \
    "pow r4.z, r4.y, c4.x\n"                                                   \
    "cmp r4.z, -r4.x, c10.x, r4.z\n"                                           \
    "; ambient, diffuse, specular and emissive terms\n"                        \
    "mul r5, r0, c5\n"                                                         \
    "mul r5, r5, c6\n"                                                         \
    "mul r6, r0, c7\n"                                                         \
    "mul r6, r6, c8\n"                                                         \
    "mad r5, r6, r4.x, r5\n"                                                   \
    "mul r7, c1, c0\n"                                                         \
    "mad r5, r7, r4.z, r5\n"                                                   \
    "add r5, r5, c9\n" LIGHTMAP                                                \
    "mov oC0, r5\n"

// Tangent-space frame of the normal N and tangent T (both moved to r5, r6):
// the light direction L (t2) and eye - P (t3) in (T, B, N), B = T x N, and
// the self-shadow factor k = min(1, max(0, N.L) / K.y) (t4). K holds
// (0, 0.125, 1, e).
#define ZEL_TANGENT_FRAME(N, T, EYE, L, K)                                       \
    "; binormal B = T x N\n"                                                   \
    "mov r5.xyz, " N "\n"                                                      \
    "mov r6.xyz, " T "\n"                                                      \
    "crs r7.xyz, r6, r5\n"                                                     \
    "; direction to the light in (T, B, N)\n"                                  \
    "dp3 oT2.x, r6, " L "\n"                                                   \
    "dp3 oT2.y, r7, " L "\n"                                                   \
    "dp3 oT2.z, r5, " L "\n"                                                   \
    "; eye - P in (T, B, N)\n"                                                 \
    "add r8.xyz, " EYE ", -r0\n"                                               \
    "dp3 oT3.x, r6, r8\n"                                                      \
    "dp3 oT3.y, r7, r8\n"                                                      \
    "dp3 oT3.z, r5, r8\n"                                                      \
    "; self-shadow k = min(1, 8 max(0, N.L)): surfaces turned from the light darken\n" \
    "dp3 r8.x, r5, " L "\n"                                                    \
    "max r8.x, r8.x, " K ".x\n"                                                \
    "rcp r8.y, " K ".y\n"                                                      \
    "mul r8.x, r8.x, r8.y\n"                                                   \
    "min oT4.x, r8.x, " K ".z\n"

#define ZEL_NORMALMAP_HEADER(MAP)                                                \
    "vs_2_0\n"                                                                 \
    "; in: v0 position, v1 normal, v2 texture and v3 normal-map coordinates,\n" \
    "; v4 tangent" MAP "\n"                                                    \
    "; c0-c3 world*view*projection, c4-c7 world*view, c8 camera and c9 direction\n" \
    "; to the light (object space), c10 fog register, c11 (0, 0.125, 1, e),\n" \
    "; c12 wave register\n"                                                    \
    "; out: position, coordinates (t0, t1), L (t2) and eye - P (t3) in tangent\n" \
    "; space, self-shadow factor (t4.x), fog\n"                                \
    ZEL_WAVE_DEFS ZEL_FOG_DEFS                                                 \
    "dcl_position v0\n"                                                        \
    "dcl_normal v1\n"                                                          \
    "dcl_texcoord0 v2\n"                                                       \
    "dcl_texcoord1 v3\n"                                                       \
    "dcl_texcoord2 v4\n"

#define ZEL_NORMALMAP_BODY(POSITION, OUTPUTS)                                    \
    POSITION ZEL_PROJECT                                                       \
    "mov oT0, v2\n"                                                            \
    "mov oT1, v3\n" OUTPUTS ZEL_TANGENT_FRAME("v1", "v4", "c8", "c9", "c11")   \
    ZEL_FOG("v0", "c10", "c11.w", "c94.y")

#define ZEL_NORMALMAP_SKINNED(MAP, INPUTS, OUTPUTS)                              \
    "vs_2_0\n"                                                                 \
    "; in: v0 position, v1 blend weights, v2 bone indices, v3 normal, v4 texture\n" \
    "; and v5 normal-map coordinates, v6 tangent" MAP "\n"                      \
    "; c0-c3 view*projection, c4-c7 view, bone k at c8+4k, c208 camera,\n"    \
    "; c209 fog register, c212 direction to the light\n"                       \
    "; out: as the unskinned program\n"                                        \
    ZEL_SKIN_DEFS                                                              \
    "def c213, 0, 0.125, 1, 2.7182817\n" ZEL_SKINNED_INPUTS                    \
    "dcl_normal v3\n"                                                          \
    "dcl_texcoord0 v4\n"                                                       \
    "dcl_texcoord1 v5\n"                                                       \
    "dcl_texcoord2 v6\n" INPUTS ZEL_POSITION_SKINNED                           \
    "; normal and tangent through the same bones\n"                            \
    ZEL_SKIN_DIRECTION("v3", "r9") ZEL_SKIN_DIRECTION("v6", "r11") ZEL_PROJECT \
    "mov oT0, v4\n"                                                            \
    "mov oT1, v5\n" OUTPUTS ZEL_TANGENT_FRAME("r9", "r11", "c208", "c212", "c213") \
    ZEL_FOG_SKINNED

// n = 2 (normal-map texel - 0.5); lit as the per-pixel model, with the
// diffuse and specular terms scaled by the self-shadow factor k, into r6.
#define ZEL_NORMALMAP_PIXEL(MAP, INPUTS, LIGHTMAP)                               \
    "ps_2_0\n"                                                                 \
    "; in: t0 texture and t1 normal-map coordinates, t2 L and t3 eye - P in\n" \
    "; tangent space, t4.x self-shadow factor" MAP "\n"                        \
    "; c0 ambient_m, c1 ambient_l, c2 diffuse_m, c3 diffuse_l, c5 specular_m,\n" \
    "; c6 specular_l, c7.x power, c8 emissive_m\n"                             \
    "def c9, 0.5, 2, 0, 0\n"                                                  \
    "dcl t0.xy\n"                                                              \
    "dcl t1.xy\n"                                                              \
    "dcl t2.xyz\n"                                                             \
    "dcl t3.xyz\n"                                                             \
    "dcl t4.x\n" INPUTS                                                        \
    "dcl_2d s0\n"                                                              \
    "dcl_2d s1\n"                                                              \
    "texld r0, t0, s0\n"                                                       \
    "texld r1, t1, s1\n"                                                       \
    "; the normal from the map\n"                                              \
    "add r1.xyz, r1, -c9.x\n"                                                  \
    "mul r1.xyz, r1, c9.y\n"                                                   \
    "; N.L and N.H with H = normalize(normalize(V) + normalize(L))\n"          \
    "nrm r2.xyz, t2\n"                                                         \
    "nrm r3.xyz, t3\n"                                                         \
    "add r3.xyz, r3, r2\n"                                                     \
    "nrm r4.xyz, r3\n"                                                         \
    "dp3 r5.x, r2, r1\n"                                                       \
    "dp3 r5.y, r4, r1\n"                                                       \
    "max r5.xy, r5, c9.z\n"                                                    \
    "; specular N.H^power, 0 where N.L <= 0\n"                                 \
    "pow r5.z, r5.y, c7.x\n"                                                   \
    "cmp r5.z, -r5.x, c9.z, r5.z\n"                                            \
    "; (tex diffuse_m diffuse_l N.L + specular_m specular_l N.H^power) k\n"         \
    "mul r6, r0, c2\n"                                                         \
    "mul r6, r6, c3\n"                                                         \
    "mul r6, r6, r5.x\n"                                                       \
    "mul r7, c5, c6\n"                                                         \
    "mad r6, r7, r5.z, r6\n"                                                   \
    "mul r6, r6, t4.x\n"                                                       \
    "; + tex ambient_m ambient_l + emissive\n"                                 \
    "mul r8, r0, c0\n"                                                         \
    "mad r6, r8, c1, r6\n"                                                     \
    "add r6, r6, c8\n" LIGHTMAP                                                \
    "mov oC0, r6\n"

#define ZEL_LIGHTMAP_MAP ", v3 light-map coordinates"

const char kLitVertexVs[] = ZEL_VERTEX_LIT("", "", ZEL_POSITION_BASIC, "");
const char kLitVertexWaveVs[] = ZEL_VERTEX_LIT("", "", ZEL_POSITION_WAVE("c20"), "");
const char kLitLightmapVertexVs[] =
    ZEL_VERTEX_LIT(ZEL_LIGHTMAP_MAP, "dcl_texcoord1 v3\n", ZEL_POSITION_BASIC, "mov oT1, v3\n");
const char kLitLightmapVertexWaveVs[] =
    ZEL_VERTEX_LIT(ZEL_LIGHTMAP_MAP, "dcl_texcoord1 v3\n", ZEL_POSITION_WAVE("c20"), "mov oT1, v3\n");

const char kLitVertexPs[] =
    "ps.1.1\n"
    "; texture (stage 0) times the diffuse colour, plus the specular colour\n"
    "tex t0\n"
    "mad r0, t0, v0, v1\n";

const char kLitLightmapVertexPs[] =
    "ps.1.1\n"
    "; texture (stage 0) times the diffuse colour, plus the specular colour,\n"
    "; times the light map (stage 1)\n"
    "tex t0\n"
    "tex t1\n"
    "mad r0, t0, v0, v1\n"
    "mul r0, r0, t1\n";

const char kLitPixelVs[] = ZEL_PIXEL_LIT_HEADER("") ZEL_PIXEL_LIT_BODY(ZEL_POSITION_BASIC, "");
const char kLitPixelWaveVs[] = ZEL_PIXEL_LIT_HEADER("") ZEL_PIXEL_LIT_BODY(ZEL_POSITION_WAVE("c10"), "");
const char kLitPixelSkinnedVs[] = ZEL_PIXEL_LIT_SKINNED("", "", "");
const char kLitLightmapPixelVs[] = ZEL_PIXEL_LIT_HEADER(ZEL_LIGHTMAP_MAP)
    "dcl_texcoord1 v3\n" ZEL_PIXEL_LIT_BODY(ZEL_POSITION_BASIC, "mov oT3, v3\n");
const char kLitLightmapPixelWaveVs[] = ZEL_PIXEL_LIT_HEADER(ZEL_LIGHTMAP_MAP)
    "dcl_texcoord1 v3\n" ZEL_PIXEL_LIT_BODY(ZEL_POSITION_WAVE("c10"), "mov oT3, v3\n");
const char kLitLightmapPixelSkinnedVs[] =
    ZEL_PIXEL_LIT_SKINNED(", v5 light-map coordinates", "dcl_texcoord1 v5\n", "mov oT3, v5\n");

const char kLitPixelPs[] = ZEL_PIXEL_LIT("", "", "");
const char kLitLightmapPixelPs[] = ZEL_PIXEL_LIT(", t3 light-map coordinates", "dcl t3.xy\ndcl_2d s1\n",
                                                 "; times the light map (stage 1)\n"
                                                 "texld r8, t3, s1\n"
                                                 "mul r5, r5, r8\n");

#define ZEL_NORMALMAP_LIGHTMAP_MAP ", v5 light-map coordinates"

const char kNormalmapVs[] = ZEL_NORMALMAP_HEADER("") ZEL_NORMALMAP_BODY(ZEL_POSITION_BASIC, "");
const char kNormalmapWaveVs[] = ZEL_NORMALMAP_HEADER("") ZEL_NORMALMAP_BODY(ZEL_POSITION_WAVE("c12"), "");
const char kNormalmapSkinnedVs[] = ZEL_NORMALMAP_SKINNED("", "", "");
const char kNormalmapLightmapVs[] = ZEL_NORMALMAP_HEADER(ZEL_NORMALMAP_LIGHTMAP_MAP)
    "dcl_texcoord3 v5\n" ZEL_NORMALMAP_BODY(ZEL_POSITION_BASIC, "mov oT5, v5\n");
const char kNormalmapLightmapWaveVs[] = ZEL_NORMALMAP_HEADER(ZEL_NORMALMAP_LIGHTMAP_MAP)
    "dcl_texcoord3 v5\n" ZEL_NORMALMAP_BODY(ZEL_POSITION_WAVE("c12"), "mov oT5, v5\n");
const char kNormalmapLightmapSkinnedVs[] =
    ZEL_NORMALMAP_SKINNED(", v7 light-map coordinates", "dcl_texcoord3 v7\n", "mov oT5, v7\n");

const char kNormalmapPs[] = ZEL_NORMALMAP_PIXEL("", "", "");
const char kNormalmapLightmapPs[] = ZEL_NORMALMAP_PIXEL(", t5 light-map coordinates", "dcl t5.xy\ndcl_2d s2\n",
                                                        "; times the light map (stage 2)\n"
                                                        "texld r9, t5, s2\n"
                                                        "mul r6, r6, r9\n");

constexpr MaterialPrograms Lit(const char* vertex, const char* vertexWave, const char* vertexPixel,
                               const char* pixel, const char* pixelWave, const char* pixelSkinned,
                               const char* pixelProgram) {
    return {{{vertex, vertexPixel}, {pixel, pixelProgram}},
            {{vertexWave, vertexPixel}, {pixelWave, pixelProgram}},
            {{}, {pixelSkinned, pixelProgram}}};
}

}  // namespace

const MaterialPrograms kLitPrograms =
    Lit(kLitVertexVs, kLitVertexWaveVs, kLitVertexPs, kLitPixelVs, kLitPixelWaveVs, kLitPixelSkinnedVs, kLitPixelPs);
const MaterialPrograms kLitLightmapPrograms =
    Lit(kLitLightmapVertexVs, kLitLightmapVertexWaveVs, kLitLightmapVertexPs, kLitLightmapPixelVs,
        kLitLightmapPixelWaveVs, kLitLightmapPixelSkinnedVs, kLitLightmapPixelPs);
const MaterialPrograms kNormalmapLitPrograms = Lit(kLitVertexVs, kLitVertexWaveVs, kLitVertexPs, kNormalmapVs,
                                                   kNormalmapWaveVs, kNormalmapSkinnedVs, kNormalmapPs);
const MaterialPrograms kNormalmapLightmapLitPrograms =
    Lit(kLitLightmapVertexVs, kLitLightmapVertexWaveVs, kLitLightmapVertexPs, kNormalmapLightmapVs,
        kNormalmapLightmapWaveVs, kNormalmapLightmapSkinnedVs, kNormalmapLightmapPs);

const NamedMaterialProgram kLitProgramTexts[kLitProgramCount] = {
    {"lit_vertex.vsh", kLitVertexVs},
    {"lit_vertex_wave.vsh", kLitVertexWaveVs},
    {"lit_lightmap_vertex.vsh", kLitLightmapVertexVs},
    {"lit_lightmap_vertex_wave.vsh", kLitLightmapVertexWaveVs},
    {"lit_vertex.psh", kLitVertexPs},
    {"lit_lightmap_vertex.psh", kLitLightmapVertexPs},
    {"lit_pixel.vsh", kLitPixelVs},
    {"lit_pixel_wave.vsh", kLitPixelWaveVs},
    {"lit_pixel_skinned.vsh", kLitPixelSkinnedVs},
    {"lit_lightmap_pixel.vsh", kLitLightmapPixelVs},
    {"lit_lightmap_pixel_wave.vsh", kLitLightmapPixelWaveVs},
    {"lit_lightmap_pixel_skinned.vsh", kLitLightmapPixelSkinnedVs},
    {"lit_pixel.psh", kLitPixelPs},
    {"lit_lightmap_pixel.psh", kLitLightmapPixelPs},
    {"normalmap.vsh", kNormalmapVs},
    {"normalmap_wave.vsh", kNormalmapWaveVs},
    {"normalmap_skinned.vsh", kNormalmapSkinnedVs},
    {"normalmap_lightmap.vsh", kNormalmapLightmapVs},
    {"normalmap_lightmap_wave.vsh", kNormalmapLightmapWaveVs},
    {"normalmap_lightmap_skinned.vsh", kNormalmapLightmapSkinnedVs},
    {"normalmap.psh", kNormalmapPs},
    {"normalmap_lightmap.psh", kNormalmapLightmapPs},
};

}  // namespace zel
