#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "engine/core/GrowableArray.h"
#include "engine/render/program/MaterialPrograms.h"
#include "engine/render/shader/ShaderAssembler.h"
#include "support/ShaderProgramRunner.h"

namespace zel {
namespace {

constexpr uint32_t kVs11 = 0xFFFE0101;
constexpr uint32_t kVs20 = 0xFFFE0200;
constexpr uint32_t kPs11 = 0xFFFF0101;
constexpr uint32_t kPs20 = 0xFFFF0200;

// The version token of the assembled text; 0 when it does not assemble.
uint32_t VersionOf(const char* text) {
    GrowableArray<uint32_t> tokens;
    ShaderAssemblyError error;
    if (ShaderAssembler::Assemble(text, int32_t(std::strlen(text)), tokens, error) != 0) {
        ADD_FAILURE() << "line " << error.line << ", column " << error.column << ": " << error.message;
        return 0;
    }
    return tokens[0];
}

TEST(MaterialPrograms, EveryProgramAssembles) {
    int32_t count = 0;
    const NamedMaterialProgram* programs = GetMaterialPrograms(count);
    ASSERT_GE(count, 30);
    for (int32_t i = 0; i < count; ++i) {
        SCOPED_TRACE(programs[i].name);
        const bool vertex = std::string(programs[i].name).ends_with(".vsh");
        const uint32_t version = VersionOf(programs[i].text);
        EXPECT_EQ(version >> 16, vertex ? 0xFFFEu : 0xFFFFu);
    }
}

// Level 1.x devices get vs_1_1 with ps.1.1; level 2.0 texts never go above
// vs_2_0 and ps_2_0; skinned texts exist only at level 2.0 (the bones need
// relative addressing beyond c95).
TEST(MaterialPrograms, EachLevelGetsProgramsOfItsVersion) {
    const struct {
        const char* what;
        const MaterialPrograms& programs;
    } kSets[] = {
        {"colour", kColorPrograms},       {"texture", kTexturePrograms},
        {"light map", kLightmapPrograms}, {"lit", kLitPrograms},
        {"lit light map", kLitLightmapPrograms}, {"normal map", kNormalmapLitPrograms},
        {"normal and light map", kNormalmapLightmapLitPrograms}, {"quiet water", kQuietWaterPrograms},
        {"refractive water", kRefractiveWaterPrograms},
    };
    for (const auto& set : kSets) {
        SCOPED_TRACE(set.what);
        for (const MaterialProgramLevels* levels : {&set.programs.basic, &set.programs.wave, &set.programs.skinned}) {
            if (levels->level1x.vertex != nullptr) {
                EXPECT_EQ(VersionOf(levels->level1x.vertex), kVs11);
                EXPECT_EQ(VersionOf(levels->level1x.pixel), kPs11);
            }
            if (levels->level20.vertex != nullptr) {
                EXPECT_EQ(VersionOf(levels->level20.vertex), kVs20);
                const uint32_t pixel = VersionOf(levels->level20.pixel);
                EXPECT_TRUE(pixel == kPs11 || pixel == kPs20) << std::hex << pixel;
            }
        }
        EXPECT_EQ(set.programs.skinned.level1x.vertex, nullptr);
        EXPECT_NE(set.programs.basic.level1x.vertex != nullptr || set.programs.basic.level20.vertex != nullptr, false);
    }
}

// What the vertex programs compute, run on the processor. Transforms are the
// identity (c0-c7), so the output position is the object position and the
// fog depth is z.
using test::ShaderProgramRunner;

constexpr float kE = 2.7182817f;

ShaderProgramRunner Runner(const char* text) {
    ShaderProgramRunner runner;
    EXPECT_TRUE(runner.Load(text));
    for (int32_t i = 0; i < 4; ++i) {
        runner.constants[i] = runner.constants[4 + i] = {0, 0, 0, 0};
        runner.constants[i][i] = runner.constants[4 + i][i] = 1.0f;
    }
    return runner;
}

// Every family reads its fog register where its register map says.
struct FogProgram {
    const char* what;
    const char* text;
    int32_t fogRegister;
    void (*prepare)(ShaderProgramRunner& run);
};

void NoPreparation(ShaderProgramRunner&) {}

const FogProgram kFogPrograms[] = {
    {"colour", kColorPrograms.basic.level1x.vertex, 9, NoPreparation},
    {"lit per vertex", kLitPrograms.basic.level1x.vertex, 18,
     [](ShaderProgramRunner& run) { run.constants[19] = {0, kE, 0, 0}; }},
    {"lit per pixel", kLitPrograms.basic.level20.vertex, 9, NoPreparation},
    {"normal map", kNormalmapLitPrograms.basic.level20.vertex, 10,
     [](ShaderProgramRunner& run) { run.constants[11] = {0, 0.125f, 1, kE}; }},
    {"quiet water", kQuietWaterPrograms.basic.level20.vertex, 11, NoPreparation},
    {"skinned", kLitPrograms.skinned.level20.vertex, kSkinnedFogRegister,
     [](ShaderProgramRunner& run) {
         for (int32_t i = 0; i < 4; ++i) run.constants[kFirstBoneRegister + i][i] = 1.0f;
         run.inputs[1] = {1, 0, 0, 0};
     }},
};

TEST(MaterialPrograms, FogIsOneOverEToTheDensityDepthPower) {
    const struct {
        float density, exponent, z, fog;
    } kCases[] = {
        {0.1f, 2.0f, 5.0f, std::exp(-0.25f)},
        {0.1f, 1.0f, 5.0f, std::exp(-0.5f)},
        {0.02f, 3.0f, 50.0f, std::exp(-1.0f)},
        {0.0f, 2.0f, 5.0f, 1.0f},   // density 0 leaves the colour
        {0.1f, 2.0f, 0.0f, 1.0f},   // z <= 0: no fog
        {0.1f, 2.0f, -7.0f, 1.0f},
    };
    for (const FogProgram& program : kFogPrograms) {
        for (const auto& c : kCases) {
            SCOPED_TRACE(testing::Message() << program.what << ": " << c.density << " " << c.exponent << " " << c.z);
            ShaderProgramRunner run = Runner(program.text);
            program.prepare(run);
            run.constants[program.fogRegister] = {c.density, c.exponent, 0, 0};
            run.inputs[0] = {1, 2, c.z, 1};
            ASSERT_TRUE(run.Run());
            EXPECT_NEAR(run.fog, c.fog, 1e-4f);
        }
    }
}

// x + A sin(0.5077 x - 0.421 z + S t) y and z + A sin(0.3 y - 0.6 z +
// 1.31415 S t) y; the fog keeps the unmoved depth.
TEST(MaterialPrograms, SwayGrowsWithHeightAndFollowsThePhases) {
    const float amplitude = 0.5f, speed = 1.5f, time = 0.3f, x = 1.0f, z = 2.0f;
    float moved[3] = {};
    for (int y = 0; y <= 2; ++y) {
        SCOPED_TRACE(y);
        ShaderProgramRunner run = Runner(kColorPrograms.wave.level1x.vertex);
        run.constants[9] = {0.1f, 2.0f, amplitude, speed};
        run.constants[10] = {amplitude, speed, time, 0};
        run.inputs[0] = {x, float(y), z, 1};
        ASSERT_TRUE(run.Run());
        const float phase1 = 0.5077f * x - 0.421f * z + speed * time;
        const float phase2 = 0.3f * float(y) - 0.6f * z + 1.31415f * speed * time;
        EXPECT_NEAR(run.position[0], x + amplitude * std::sin(phase1) * float(y), 2e-3f);
        EXPECT_NEAR(run.position[1], float(y), 1e-6f);
        EXPECT_NEAR(run.position[2], z + amplitude * std::sin(phase2) * float(y), 2e-3f);
        EXPECT_NEAR(run.fog, std::exp(-0.04f), 1e-4f);
        moved[y] = run.position[0] - x;
    }
    EXPECT_EQ(moved[0], 0.0f);
    EXPECT_NEAR(moved[2], 2.0f * moved[1], 1e-6f);
}

// Per-vertex lighting of the normal (0, 1, 0): the Lambert factor at 0, 60
// and 90 degrees, and the specular peak where the half vector meets the
// normal.
TEST(MaterialPrograms, VertexLightingFollowsLambertAndTheHalfVector) {
    auto lit = [](float degrees, const ShaderProgramRunner::Value& eye) {
        ShaderProgramRunner run = Runner(kLitPrograms.basic.level1x.vertex);
        const float a = degrees * 3.14159265f / 180.0f;
        run.constants[9] = run.constants[14] = {1, 1, 1, 1};    // diffuse
        run.constants[10] = run.constants[15] = {1, 1, 1, 1};   // specular
        run.constants[12] = {16, 0, 0, 0};
        run.constants[16] = {std::sin(a), std::cos(a), 0, 0};  // towards the light
        run.constants[17] = eye;
        run.constants[18] = {0, 2, 0, 0};
        run.constants[19] = {0, kE, 0, 0};
        run.inputs[0] = {0, 0, 0, 1};
        run.inputs[1] = {0, 1, 0, 0};
        EXPECT_TRUE(run.Run());
        return run;
    };
    const struct {
        float degrees, lambert;
    } kAngles[] = {{0, 1}, {60, 0.5f}, {90, 0}};
    for (const auto& c : kAngles) {
        SCOPED_TRACE(c.degrees);
        EXPECT_NEAR(lit(c.degrees, {0, 10, 0, 1}).colors[0][0], c.lambert, 1e-5f);
    }
    // The eye mirrored about the normal puts the half vector on it.
    const float s60 = std::sin(60 * 3.14159265f / 180.0f);
    EXPECT_NEAR(lit(60, {-s60 * 10, 5, 0, 1}).colors[1][0], 1.0f, 1e-4f);
    EXPECT_LT(lit(60, {s60 * 10, 5, 0, 1}).colors[1][0], 0.5f);
    EXPECT_EQ(lit(120, {-s60 * 10, -5, 0, 1}).colors[1][0], 0.0f);  // light behind: no highlight
}

// One bone moved by (2, 0, 0) moves the vertices it holds; weights split
// between a resting and a moved bone move them half way; a negative
// second weight is left out.
TEST(MaterialPrograms, SkinningBlendsTheWeightedBones) {
    const struct {
        ShaderProgramRunner::Value weights, bones;
        float x;
    } kCases[] = {
        {{1, 0, 0, 0}, {1, 0, 0, 0}, 3.0f},
        {{1, 0, 0, 0}, {0, 0, 0, 0}, 1.0f},
        {{0.5f, 0.5f, 0, 0}, {0, 1, 0, 0}, 2.0f},
        {{1, -0.5f, 0, 0}, {0, 1, 0, 0}, 1.0f},
    };
    for (const auto& c : kCases) {
        ShaderProgramRunner run = Runner(kColorPrograms.skinned.level20.vertex);
        for (int32_t bone = 0; bone < 2; ++bone)
            for (int32_t i = 0; i < 4; ++i) {
                run.constants[8 + 4 * bone + i] = {0, 0, 0, 0};
                run.constants[8 + 4 * bone + i][i] = 1.0f;
            }
        run.constants[12][3] = 2.0f;  // bone 1 translated along x
        run.inputs[0] = {1, 1, 1, 1};
        run.inputs[1] = c.weights;
        run.inputs[2] = c.bones;
        ASSERT_TRUE(run.Run());
        EXPECT_NEAR(run.position[0], c.x, 1e-6f);
        EXPECT_NEAR(run.position[1], 1.0f, 1e-6f);
    }
}

// The self-shadow factor k = min(1, 8 max(0, N.L)) of the normal-map
// program, and L carried into tangent space (its N component is N.L).
TEST(MaterialPrograms, NormalMapSelfShadowReachesOneAtAnEighth) {
    const struct {
        float nDotL, k;
    } kCases[] = {{1.0f, 1.0f}, {0.125f, 1.0f}, {0.0625f, 0.5f}, {0.0f, 0.0f}, {-0.5f, 0.0f}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.nDotL);
        ShaderProgramRunner run = Runner(kNormalmapLitPrograms.basic.level20.vertex);
        run.constants[9] = {std::sqrt(1 - c.nDotL * c.nDotL), 0, c.nDotL, 0};
        run.constants[10] = {0, 2, 0, 0};
        run.constants[11] = {0, 0.125f, 1, kE};
        run.inputs[0] = {0, 0, 0, 1};
        run.inputs[1] = {0, 0, 1, 0};  // normal
        run.inputs[4] = {1, 0, 0, 0};  // tangent
        ASSERT_TRUE(run.Run());
        EXPECT_NEAR(run.texCoords[4][0], c.k, 1e-6f);
        EXPECT_NEAR(run.texCoords[2][2], c.nDotL, 1e-6f);
    }
}

// The two normal-map layers of the water drift in opposite directions on
// c10's circle; t1 carries the clip position for the screen lookup.
TEST(MaterialPrograms, WaterLayersDriftInOppositeDirections) {
    for (const MaterialPrograms* water : {&kQuietWaterPrograms, &kRefractiveWaterPrograms}) {
        ShaderProgramRunner run = Runner(water->basic.level20.vertex);
        run.constants[10] = {2, 4, 0.3f, 0.4f};
        run.constants[11] = {0, 2, 0, 0};
        run.inputs[0] = {1, 2, 3, 1};
        run.inputs[1] = run.inputs[2] = {0.25f, 0.5f, 0, 0};
        ASSERT_TRUE(run.Run());
        EXPECT_NEAR(run.texCoords[2][0], 0.5f + 0.3f, 1e-6f);
        EXPECT_NEAR(run.texCoords[2][1], 2.0f - 0.4f, 1e-6f);
        EXPECT_NEAR(run.texCoords[3][0], 0.5f - 0.3f, 1e-6f);
        EXPECT_NEAR(run.texCoords[3][1], 2.0f + 0.4f, 1e-6f);
        EXPECT_EQ(run.texCoords[1], (ShaderProgramRunner::Value{1, 2, 3, 1}));
    }
}

// Pixel programs, with textures that answer by sampler.
using Value = ShaderProgramRunner::Value;

ShaderProgramRunner PixelRunner(const char* text, std::function<Value(int32_t, const Value&)> sample) {
    ShaderProgramRunner runner;
    EXPECT_TRUE(runner.Load(text));
    runner.sample = std::move(sample);
    return runner;
}

Value White(int32_t, const Value&) { return {1, 1, 1, 1}; }

TEST(MaterialPrograms, UnlitPixelsMultiplyTheirLayers) {
    const Value half{0.5f, 0.5f, 0.5f, 0.5f};
    ShaderProgramRunner texture = PixelRunner(kTexturePrograms.basic.level1x.pixel, [&](int32_t, const Value&) {
        return half;
    });
    texture.inputs[0] = {0.8f, 0.6f, 0.4f, 1};
    ASSERT_TRUE(texture.Run());
    EXPECT_NEAR(texture.color[0], 0.4f, 1e-6f);
    EXPECT_NEAR(texture.color[2], 0.2f, 1e-6f);

    // Lit per vertex, then the light map: (tex diffuse + specular) light map.
    ShaderProgramRunner lit = PixelRunner(kLitLightmapPrograms.basic.level1x.pixel, [&](int32_t stage, const Value&) {
        return stage == 0 ? half : Value{0.5f, 0.25f, 1, 1};
    });
    lit.inputs[0] = {0.8f, 0.8f, 0.8f, 1};
    lit.inputs[1] = {0.1f, 0.1f, 0.1f, 0};
    ASSERT_TRUE(lit.Run());
    EXPECT_NEAR(lit.color[0], 0.25f, 1e-6f);
    EXPECT_NEAR(lit.color[1], 0.125f, 1e-6f);
    EXPECT_NEAR(lit.color[2], 0.5f, 1e-6f);
}

// Per-pixel lighting of the normal (0, 1, 0) with a white texture.
ShaderProgramRunner PixelLit(float degrees, const Value& toEye, bool specularOnly) {
    ShaderProgramRunner run = PixelRunner(kLitPrograms.basic.level20.pixel, White);
    const float a = degrees * 3.14159265f / 180.0f;
    run.constants[0] = run.constants[1] = specularOnly ? Value{1, 1, 1, 1} : Value{0, 0, 0, 0};
    run.constants[2] = {std::sin(a), std::cos(a), 0, 0};
    run.constants[4] = {16, 0, 0, 0};
    run.constants[7] = run.constants[8] = specularOnly ? Value{0, 0, 0, 0} : Value{1, 1, 1, 1};
    run.pixelTexCoords[1] = {0, 2, 0, 0};  // interpolated normals need not be unit
    run.pixelTexCoords[2] = toEye;
    EXPECT_TRUE(run.Run());
    return run;
}

TEST(MaterialPrograms, PixelLightingFollowsLambertAndTheHalfVector) {
    const struct {
        float degrees, lambert;
    } kAngles[] = {{0, 1}, {60, 0.5f}, {90, 0}, {135, 0}};
    for (const auto& c : kAngles) {
        SCOPED_TRACE(c.degrees);
        EXPECT_NEAR(PixelLit(c.degrees, {0, 1, 0, 0}, false).color[0], c.lambert, 1e-5f);
    }
    const float s60 = std::sin(60 * 3.14159265f / 180.0f);
    EXPECT_NEAR(PixelLit(60, {-s60, 0.5f, 0, 0}, true).color[0], 1.0f, 1e-4f);
    EXPECT_LT(PixelLit(60, {s60, 0.5f, 0, 0}, true).color[0], 0.5f);
    EXPECT_EQ(PixelLit(120, {-s60, -0.5f, 0, 0}, true).color[0], 0.0f);
}

// A flat normal map (texel (0.5, 0.5, 1)) lights like the plain per-pixel
// program where N.L >= 0.125; below, the self-shadow factor k darkens the
// diffuse and specular terms.
TEST(MaterialPrograms, FlatNormalMapLightsLikeThePlainPerPixelPath) {
    const struct {
        float nDotL, k;
    } kCases[] = {{1.0f, 1.0f}, {0.5f, 1.0f}, {0.125f, 1.0f}, {0.0625f, 0.5f}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.nDotL);
        const Value toLight{std::sqrt(1 - c.nDotL * c.nDotL), 0, c.nDotL, 0};
        const Value toEye{0.3f, 0.2f, 1, 0};
        ShaderProgramRunner mapped = PixelRunner(kNormalmapLitPrograms.basic.level20.pixel,
                                                 [](int32_t sampler, const Value&) {
                                                     return sampler == 1 ? Value{0.5f, 0.5f, 1, 1} : Value{1, 1, 1, 1};
                                                 });
        mapped.constants[2] = mapped.constants[3] = {0.5f, 0.5f, 0.5f, 1};  // diffuse
        mapped.constants[5] = mapped.constants[6] = {0.5f, 0.5f, 0.5f, 1};  // specular
        mapped.constants[7] = {4, 0, 0, 0};
        mapped.pixelTexCoords[2] = toLight;
        mapped.pixelTexCoords[3] = toEye;
        mapped.pixelTexCoords[4] = {std::fmin(1.0f, 8 * c.nDotL), 0, 0, 0};
        ASSERT_TRUE(mapped.Run());

        ShaderProgramRunner plain = PixelRunner(kLitPrograms.basic.level20.pixel, White);
        plain.constants[7] = plain.constants[8] = {0.5f, 0.5f, 0.5f, 1};
        plain.constants[0] = plain.constants[1] = {0.5f, 0.5f, 0.5f, 1};
        plain.constants[2] = toLight;
        plain.constants[4] = {4, 0, 0, 0};
        plain.pixelTexCoords[1] = {0, 0, 1, 0};
        plain.pixelTexCoords[2] = toEye;
        ASSERT_TRUE(plain.Run());
        EXPECT_NEAR(mapped.color[0], c.k * plain.color[0], 1e-5f);
    }
}

// Quiet water: the reflection at the pixel's screen position, (x/w, y/w)
// (0.5, -0.5) + 0.5, shifted by the normal-map difference; alpha from the
// view vector.
TEST(MaterialPrograms, QuietWaterShowsTheReflectionAtTheScreenPosition) {
    const struct {
        Value layer1, layer2;
        float u, v;
    } kCases[] = {
        {{0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}, 0.75f, 0.25f},  // calm: no shift
        {{0.7f, 0.5f, 0.6f, 1}, {0.5f, 0.5f, 0.5f, 1}, 0.75f + 0.1f, 0.25f + 0.05f},
    };
    for (const auto& c : kCases) {
        ShaderProgramRunner run = PixelRunner(kQuietWaterPrograms.basic.level20.pixel,
                                              [&](int32_t sampler, const Value& at) {
                                                  if (sampler == 1) return Value{at[0], at[1], 0, 1};
                                                  return at[0] == 1 ? c.layer1 : c.layer2;
                                              });
        run.constants[0] = {0.5f, 0, 0, 0};
        run.pixelTexCoords[1] = {1, 1, 0.5f, 2};  // clip position: (0.5, 0.5) after the divide
        run.pixelTexCoords[2] = {1, 0, 0, 0};
        run.pixelTexCoords[3] = {2, 0, 0, 0};
        run.pixelTexCoords[4] = {0, -1, 0, 0};  // looking straight down
        run.inputs[0] = {1, 1, 1, 1};
        ASSERT_TRUE(run.Run());
        EXPECT_NEAR(run.color[0], c.u, 1e-6f);
        EXPECT_NEAR(run.color[1], c.v, 1e-6f);
        EXPECT_NEAR(run.color[3], 0.0f, 1e-6f);
    }
}

// The refractive water blends refraction (times the colour) into the
// reflection by the Fresnel map: all 0 shows only refraction, all 1 only
// reflection.
TEST(MaterialPrograms, FresnelMapBlendsRefractionIntoReflection) {
    const struct {
        float fresnel;
        Value expected;
    } kCases[] = {{0.0f, {0, 0.5f, 0, 1}}, {1.0f, {1, 0, 0, 1}}, {0.25f, {0.25f, 0.375f, 0, 1}}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.fresnel);
        ShaderProgramRunner run = PixelRunner(kRefractiveWaterPrograms.basic.level20.pixel,
                                              [&](int32_t sampler, const Value&) {
                                                  switch (sampler) {
                                                      case 1: return Value{c.fresnel, c.fresnel, c.fresnel, c.fresnel};
                                                      case 2: return Value{1, 0, 0, 1};
                                                      case 3: return Value{0, 1, 0, 1};
                                                      default: return Value{0.5f, 0.5f, 0.5f, 1};
                                                  }
                                              });
        run.pixelTexCoords[1] = {0, 0, 0, 1};
        run.pixelTexCoords[4] = {0, 1, 0, 0};
        run.pixelTexCoords[5] = {0, 1, 0, 0};
        run.inputs[0] = {1, 0.5f, 1, 1};
        ASSERT_TRUE(run.Run());
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(run.color[k], c.expected[k], 1e-6f) << k;
    }
}

}  // namespace
}  // namespace zel
