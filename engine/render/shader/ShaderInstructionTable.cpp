#include "engine/render/shader/ShaderInstructionTable.h"

#include <cstring>

namespace zel {

namespace {

using I = ShaderInstruction;

constexpr uint32_t kArithmetic = kVsAll | kPs20;  // vertex-style arithmetic
constexpr uint32_t kEverywhere = kVsAll | kPsAll;

constexpr ShaderInstruction kInstructions[] = {
    {"nop", 0, false, 0, kEverywhere, 0, I::kPlain},
    {"mov", 1, true, 1, kEverywhere, 0, I::kPlain},
    {"add", 2, true, 2, kEverywhere, 0, I::kPlain},
    {"sub", 3, true, 2, kEverywhere, 0, I::kPlain},
    {"mad", 4, true, 3, kEverywhere, 0, I::kPlain},
    {"mul", 5, true, 2, kEverywhere, 0, I::kPlain},
    {"rcp", 6, true, 1, kArithmetic, 0, I::kPlain},
    {"rsq", 7, true, 1, kArithmetic, 0, I::kPlain},
    {"dp3", 8, true, 2, kEverywhere, 0, I::kPlain},
    {"dp4", 9, true, 2, kArithmetic | kPs12 | kPs13 | kPs14, 0, I::kPlain},
    {"min", 10, true, 2, kArithmetic, 0, I::kPlain},
    {"max", 11, true, 2, kArithmetic, 0, I::kPlain},
    {"slt", 12, true, 2, kVsAll, 0, I::kPlain},
    {"sge", 13, true, 2, kVsAll, 0, I::kPlain},
    {"exp", 14, true, 1, kArithmetic, 0, I::kPlain},
    {"log", 15, true, 1, kArithmetic, 0, I::kPlain},
    {"lit", 16, true, 1, kVsAll, 0, I::kPlain},
    {"dst", 17, true, 2, kVsAll, 0, I::kPlain},
    {"lrp", 18, true, 3, kVs20 | kPsAll, 0, I::kPlain},
    {"frc", 19, true, 1, kArithmetic, 0, I::kPlain},
    {"m4x4", 20, true, 2, kArithmetic, 0, I::kPlain},
    {"m4x3", 21, true, 2, kArithmetic, 0, I::kPlain},
    {"m3x4", 22, true, 2, kArithmetic, 0, I::kPlain},
    {"m3x3", 23, true, 2, kArithmetic, 0, I::kPlain},
    {"m3x2", 24, true, 2, kArithmetic, 0, I::kPlain},
    {"call", 25, false, 1, kVs20, 0, I::kPlain},
    {"callnz", 26, false, 2, kVs20, 0, I::kPlain},
    {"loop", 27, false, 2, kVs20, 0, I::kPlain},
    {"ret", 28, false, 0, kVs20, 0, I::kPlain},
    {"endloop", 29, false, 0, kVs20, 0, I::kPlain},
    {"label", 30, false, 1, kVs20, 0, I::kPlain},
    {"dcl", 31, true, 0, kVsAll | kPs20, 0, I::kDeclare},
    {"pow", 32, true, 2, kVersion2, 0, I::kPlain},
    {"crs", 33, true, 2, kVersion2, 0, I::kPlain},
    {"sgn", 34, true, 3, kVs20, 0, I::kPlain},
    {"abs", 35, true, 1, kVersion2, 0, I::kPlain},
    {"nrm", 36, true, 1, kVersion2, 0, I::kPlain},
    {"sincos", 37, true, 3, kVersion2, 0, I::kPlain},
    {"rep", 38, false, 1, kVs20, 0, I::kPlain},
    {"endrep", 39, false, 0, kVs20, 0, I::kPlain},
    {"if", 40, false, 1, kVs20, 0, I::kPlain},
    {"else", 42, false, 0, kVs20, 0, I::kPlain},
    {"endif", 43, false, 0, kVs20, 0, I::kPlain},
    {"mova", 46, true, 1, kVs20, 0, I::kPlain},
    {"defb", 47, true, 0, kVs20, 0, I::kDefBool},
    {"defi", 48, true, 0, kVs20, 0, I::kDefInt},
    {"texcoord", 64, true, 0, kPs13Down, 0, I::kPlain},
    {"texcrd", 64, true, 1, kPs14, 0, I::kPlain},
    {"texkill", I::kTexKill, true, 0, kPsAll, 0, I::kPlain},
    {"tex", 66, true, 0, kPs13Down, 0, I::kPlain},
    {"texld", 66, true, 1, kPs14, 0, I::kPlain},
    {"texld", 66, true, 2, kPs20, 0, I::kPlain},
    {"texldp", 66, true, 2, kPs20, 1u << 16, I::kPlain},
    {"texldb", 66, true, 2, kPs20, 2u << 16, I::kPlain},
    {"texbem", 67, true, 1, kPs13Down, 0, I::kPlain},
    {"texbeml", 68, true, 1, kPs13Down, 0, I::kPlain},
    {"texreg2ar", 69, true, 1, kPs13Down, 0, I::kPlain},
    {"texreg2gb", 70, true, 1, kPs13Down, 0, I::kPlain},
    {"texm3x2pad", 71, true, 1, kPs13Down, 0, I::kPlain},
    {"texm3x2tex", 72, true, 1, kPs13Down, 0, I::kPlain},
    {"texm3x3pad", 73, true, 1, kPs13Down, 0, I::kPlain},
    {"texm3x3tex", 74, true, 1, kPs13Down, 0, I::kPlain},
    {"texm3x3spec", 76, true, 2, kPs13Down, 0, I::kPlain},
    {"texm3x3vspec", 77, true, 1, kPs13Down, 0, I::kPlain},
    {"expp", 78, true, 1, kVsAll, 0, I::kPlain},
    {"logp", 79, true, 1, kVsAll, 0, I::kPlain},
    {"cnd", 80, true, 3, kPs1x, 0, I::kPlain},
    {"def", 81, true, 0, kEverywhere, 0, I::kDefFloat},
    {"texreg2rgb", 82, true, 1, kPs12 | kPs13, 0, I::kPlain},
    {"texdp3tex", 83, true, 1, kPs12 | kPs13, 0, I::kPlain},
    {"texm3x2depth", 84, true, 1, kPs13, 0, I::kPlain},
    {"texdp3", 85, true, 1, kPs12 | kPs13, 0, I::kPlain},
    {"texm3x3", 86, true, 1, kPs12 | kPs13, 0, I::kPlain},
    {"texdepth", 87, true, 0, kPs14, 0, I::kPlain},
    {"cmp", 88, true, 3, kPs12 | kPs13 | kPs14 | kPs20, 0, I::kPlain},
    {"bem", 89, true, 2, kPs14, 0, I::kPlain},
    {"dp2add", 90, true, 3, kPs20, 0, I::kPlain},
    {"phase", 0xFFFD, false, 0, kPs14, 0, I::kPhase},
};

}  // namespace

const ShaderInstruction* ShaderInstruction::Find(const char* mnemonic, int32_t length, ShaderDialect dialect,
                                                 bool& known) {
    known = false;
    for (const ShaderInstruction& row : kInstructions) {
        if (int32_t(std::strlen(row.mnemonic)) != length || std::memcmp(row.mnemonic, mnemonic, size_t(length)) != 0)
            continue;
        known = true;
        if ((row.dialects & dialect) != 0) return &row;
    }
    return nullptr;
}

}  // namespace zel
