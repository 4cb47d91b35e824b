// Programs of the unlit effects: flat colour, texture × colour, and texture
// × colour × light map. The effect colour becomes the vertex colour.
#include "engine/render/program/MaterialProgramTables.h"

#include "engine/render/program/MaterialProgramBlocks.h"

namespace zel {

namespace {

#define ZEL_FLAT_HEADER(MAP)                                                   \
    "vs_1_1\n"                                                                 \
    "; in: v0 position" MAP "\n"                                               \
    "; c0-c3 world*view*projection, c4-c7 world*view, c8 colour,\n"           \
    "; c9 fog register, c10 wave register (swaying)\n"                         \
    "; out: position, colour, texture coordinates, fog\n"                      \
    ZEL_WAVE_DEFS ZEL_FOG_DEFS "dcl_position v0\n"

#define ZEL_FLAT_BODY(POSITION, COORDINATES)                                   \
    POSITION ZEL_PROJECT                                                       \
    "; the effect colour as vertex colour, coordinates passed on\n"           \
    "mov oD0, c8\n" COORDINATES ZEL_FOG_PLAIN("c9")

#define ZEL_SKINNED_FLAT(MAP, INPUTS, COORDINATES)                             \
    "vs_2_0\n"                                                                 \
    "; in: v0 position, v1 blend weights, v2 bone indices" MAP "\n"           \
    "; c0-c3 view*projection, c4-c7 view, bone k at c8+4k, c208 colour,\n"    \
    "; c209 fog register\n"                                                    \
    ZEL_SKIN_DEFS ZEL_SKINNED_INPUTS INPUTS ZEL_POSITION_SKINNED ZEL_PROJECT   \
    "; the effect colour as vertex colour, coordinates passed on\n"           \
    "mov oD0, c208\n" COORDINATES ZEL_FOG_SKINNED

#define ZEL_TEXTURE_INPUT "dcl_texcoord0 v1\n"
#define ZEL_TEXTURE_OUTPUT "mov oT0, v1\n"
#define ZEL_LIGHTMAP_INPUTS "dcl_texcoord0 v1\ndcl_texcoord1 v2\n"
#define ZEL_LIGHTMAP_OUTPUTS "mov oT0, v1\nmov oT1, v2\n"

const char kColorVs[] = ZEL_FLAT_HEADER("") ZEL_FLAT_BODY(ZEL_POSITION_BASIC, "");
const char kColorWaveVs[] = ZEL_FLAT_HEADER("") ZEL_FLAT_BODY(ZEL_POSITION_WAVE("c10"), "");
const char kColorSkinnedVs[] = ZEL_SKINNED_FLAT("", "", "");

const char kTextureVs[] = ZEL_FLAT_HEADER(", v1 texture coordinates")
    ZEL_TEXTURE_INPUT ZEL_FLAT_BODY(ZEL_POSITION_BASIC, ZEL_TEXTURE_OUTPUT);
const char kTextureWaveVs[] = ZEL_FLAT_HEADER(", v1 texture coordinates")
    ZEL_TEXTURE_INPUT ZEL_FLAT_BODY(ZEL_POSITION_WAVE("c10"), ZEL_TEXTURE_OUTPUT);
const char kTextureSkinnedVs[] =
    ZEL_SKINNED_FLAT(", v3 texture coordinates", "dcl_texcoord0 v3\n", "mov oT0, v3\n");

const char kLightmapVs[] = ZEL_FLAT_HEADER(", v1 texture and v2 light-map coordinates")
    ZEL_LIGHTMAP_INPUTS ZEL_FLAT_BODY(ZEL_POSITION_BASIC, ZEL_LIGHTMAP_OUTPUTS);
const char kLightmapWaveVs[] = ZEL_FLAT_HEADER(", v1 texture and v2 light-map coordinates")
    ZEL_LIGHTMAP_INPUTS ZEL_FLAT_BODY(ZEL_POSITION_WAVE("c10"), ZEL_LIGHTMAP_OUTPUTS);
const char kLightmapSkinnedVs[] =
    ZEL_SKINNED_FLAT(", v3 texture and v4 light-map coordinates", "dcl_texcoord0 v3\ndcl_texcoord1 v4\n",
                     "mov oT0, v3\nmov oT1, v4\n");

const char kColorPs[] =
    "ps.1.1\n"
    "; the vertex colour\n"
    "mov r0, v0\n";

const char kTexturePs[] =
    "ps.1.1\n"
    "; texture (stage 0) times the vertex colour\n"
    "tex t0\n"
    "mul r0, t0, v0\n";

const char kLightmapPs[] =
    "ps.1.1\n"
    "; texture (stage 0) times the vertex colour times the light map (stage 1)\n"
    "tex t0\n"
    "tex t1\n"
    "mul r0, t0, v0\n"
    "mul r0, r0, t1\n";

constexpr MaterialPrograms Flat(const char* basic, const char* wave, const char* skinned, const char* pixel) {
    return {{{basic, pixel}, {}}, {{wave, pixel}, {}}, {{}, {skinned, pixel}}};
}

}  // namespace

const MaterialPrograms kColorPrograms = Flat(kColorVs, kColorWaveVs, kColorSkinnedVs, kColorPs);
const MaterialPrograms kTexturePrograms = Flat(kTextureVs, kTextureWaveVs, kTextureSkinnedVs, kTexturePs);
const MaterialPrograms kLightmapPrograms = Flat(kLightmapVs, kLightmapWaveVs, kLightmapSkinnedVs, kLightmapPs);

const NamedMaterialProgram kFlatPrograms[kFlatProgramCount] = {
    {"color.vsh", kColorVs},
    {"color_wave.vsh", kColorWaveVs},
    {"color_skinned.vsh", kColorSkinnedVs},
    {"texture.vsh", kTextureVs},
    {"texture_wave.vsh", kTextureWaveVs},
    {"texture_skinned.vsh", kTextureSkinnedVs},
    {"lightmap.vsh", kLightmapVs},
    {"lightmap_wave.vsh", kLightmapWaveVs},
    {"lightmap_skinned.vsh", kLightmapSkinnedVs},
    {"color.psh", kColorPs},
    {"texture.psh", kTexturePs},
    {"lightmap.psh", kLightmapPs},
};

}  // namespace zel
