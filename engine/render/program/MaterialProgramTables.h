// The program texts of each family, named, for GetMaterialPrograms.
#pragma once

#include "engine/render/program/MaterialPrograms.h"

namespace zel {

constexpr int32_t kFlatProgramCount = 12;
constexpr int32_t kLitProgramCount = 22;
constexpr int32_t kWaterProgramCount = 4;
constexpr int32_t kShadowProgramCount = 5;
constexpr int32_t kBloomProgramCount = 6;

extern const NamedMaterialProgram kFlatPrograms[kFlatProgramCount];
extern const NamedMaterialProgram kLitProgramTexts[kLitProgramCount];
extern const NamedMaterialProgram kWaterPrograms[kWaterProgramCount];
// The shadow receivers and the bloom's screen passes.
extern const NamedMaterialProgram kShadowPrograms[kShadowProgramCount];
extern const NamedMaterialProgram kBloomPrograms[kBloomProgramCount];

}  // namespace zel
