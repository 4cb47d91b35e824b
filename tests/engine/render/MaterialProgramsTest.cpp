#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/core/GrowableArray.h"
#include "engine/render/MaterialPrograms.h"
#include "engine/render/shader/ShaderAssembler.h"

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

}  // namespace
}  // namespace zel
