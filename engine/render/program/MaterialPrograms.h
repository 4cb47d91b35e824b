// The vertex and pixel programs of the material effects, as static assembly
// texts. Each effect's shader pass picks one pair by variant (basic, swaying,
// skinned) and by the device's shader levels: the "1.x" texts (vs_1_1 with
// ps.1.1) run on every device with shaders, the "2.0" texts (vs_2_0 with
// ps_2_0, or ps.1.1 where a pixel needs no more) need level 2.0 on both.
//
// Registers every vertex program shares: c0-c3 the columns of world × view ×
// projection (view × projection when skinned: the bones carry the world),
// c4-c7 those of world × view (c6, the view-space depth, drives the fog).
// Skinned programs read bone k from c8 + 4k (50 bones at most), the colour
// or camera position from c208 and the fog register from c209. The fog
// register holds (density, exponent, wave amplitude, wave speed), the wave
// register (amplitude, speed, effect time, 0). Each program opens with its
// own register map.
#pragma once

#include <cstdint>

namespace zel {

// One pair of texts per level; null where the effect has none at that level.
struct MaterialProgramPair {
    const char* vertex = nullptr;
    const char* pixel = nullptr;
};

struct MaterialProgramLevels {
    MaterialProgramPair level1x;
    MaterialProgramPair level20;
};

struct MaterialPrograms {
    MaterialProgramLevels basic;
    MaterialProgramLevels wave;
    MaterialProgramLevels skinned;
};

// Bones a skinned program can address: c8 up to c207.
constexpr int32_t kMaxProgramBones = 50;
constexpr int32_t kFirstBoneRegister = 8;
constexpr int32_t kSkinnedColorRegister = 208;
constexpr int32_t kSkinnedFogRegister = 209;
// Light direction of the skinned normal-map program.
constexpr int32_t kSkinnedLightRegister = 212;

// Flat colour (ColorEffect), texture × colour (TextureEffect), and that
// times a light map (LightmapTextureEffect).
extern const MaterialPrograms kColorPrograms;
extern const MaterialPrograms kTexturePrograms;
extern const MaterialPrograms kLightmapPrograms;
// Texture lit by one directional light: per vertex at level 1.x, per pixel
// at level 2.0 (Texture1DLEffect), and that times a light map
// (LightmapTexture1DLEffect).
extern const MaterialPrograms kLitPrograms;
extern const MaterialPrograms kLitLightmapPrograms;
// Per-pixel lighting with a tangent-space normal map (NormalmapTexture1DLEffect;
// per vertex like kLitPrograms at level 1.x), and that times a light map
// (NormalmapLightmapTexture1DLEffect).
extern const MaterialPrograms kNormalmapLitPrograms;
extern const MaterialPrograms kNormalmapLightmapLitPrograms;
// The two water surfaces (level 2.0 only).
extern const MaterialPrograms kQuietWaterPrograms;
extern const MaterialPrograms kRefractiveWaterPrograms;

// Every distinct program text once, with a name, for the assembler tests.
struct NamedMaterialProgram {
    const char* name;
    const char* text;
};
const NamedMaterialProgram* GetMaterialPrograms(int32_t& count);

}  // namespace zel
