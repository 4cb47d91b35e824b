#include "engine/render/program/MaterialPrograms.h"

#include "engine/render/program/MaterialProgramTables.h"

namespace zel {

namespace {

constexpr int32_t kProgramCount = kFlatProgramCount + kLitProgramCount + kWaterProgramCount + kShadowProgramCount + kBloomProgramCount;

struct ProgramList {
    NamedMaterialProgram programs[kProgramCount];

    ProgramList() {
        int32_t next = 0;
        for (const NamedMaterialProgram& p : kFlatPrograms) programs[next++] = p;
        for (const NamedMaterialProgram& p : kLitProgramTexts) programs[next++] = p;
        for (const NamedMaterialProgram& p : kWaterPrograms) programs[next++] = p;
        for (const NamedMaterialProgram& p : kShadowPrograms) programs[next++] = p;
        for (const NamedMaterialProgram& p : kBloomPrograms) programs[next++] = p;
    }
};

}  // namespace

const NamedMaterialProgram* GetMaterialPrograms(int32_t& count) {
    static const ProgramList list;
    count = kProgramCount;
    return list.programs;
}

}  // namespace zel
