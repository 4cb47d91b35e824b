#include "engine/render/shader/ShaderRegisterRules.h"

#include <cstring>

namespace zel {

namespace {

using R = ShaderRegisterRule;
constexpr uint32_t kRW = R::kRead | R::kWrite;

// Longer names first where one is a prefix of another (oDepth before oD,
// aL before a).
constexpr ShaderRegisterRule kRules[] = {
    {"oPos", false, 0, kRegRasterOut, 1, R::kWrite, kVsAll},
    {"oFog", false, 1, kRegRasterOut, 1, R::kWrite, kVsAll},
    {"oPts", false, 2, kRegRasterOut, 1, R::kWrite, kVsAll},
    {"oDepth", false, 0, kRegDepthOut, 1, R::kWrite, kPs20},
    {"oD", true, 0, kRegAttributeOut, 2, R::kWrite, kVsAll},
    {"oT", true, 0, kRegTexCoordOut, 8, R::kWrite, kVsAll},
    {"oC", true, 0, kRegColorOut, 4, R::kWrite, kPs20},
    {"aL", false, 0, kRegLoop, 1, R::kRead, kVs20},
    {"r", true, 0, kRegTemp, 12, kRW, kVsAll | kPs20},
    {"r", true, 0, kRegTemp, 2, kRW, kPs13Down},
    {"r", true, 0, kRegTemp, 6, kRW, kPs14},
    {"v", true, 0, kRegInput, 16, R::kRead, kVsAll},
    {"v", true, 0, kRegInput, 2, R::kRead, kPsAll},
    {"c", true, 0, kRegConst, 96, R::kRead, kVs11},
    {"c", true, 0, kRegConst, 256, R::kRead, kVs20},
    {"c", true, 0, kRegConst, 8, R::kRead, kPs1x},
    {"c", true, 0, kRegConst, 32, R::kRead, kPs20},
    {"a", true, 0, kRegAddress, 1, R::kWrite, kVsAll},
    {"t", true, 0, kRegAddress, 4, kRW, kPs13Down},
    {"t", true, 0, kRegAddress, 6, R::kRead, kPs14},
    {"t", true, 0, kRegAddress, 8, R::kRead, kPs20},
    {"s", true, 0, kRegSampler, 16, R::kRead, kPs20},
    {"i", true, 0, kRegConstInt, 16, R::kRead, kVs20},
    {"b", true, 0, kRegConstBool, 16, R::kRead, kVs20},
    {"l", true, 0, kRegLabel, 16, R::kRead, kVs20},
};

// Reads the decimal digits that follow a register name; false for none,
// anything else after them, or a leading zero of a longer number.
bool ReadIndex(const char* text, int32_t length, int32_t& index) {
    if (length == 0 || length > 4 || (text[0] == '0' && length > 1)) return false;
    index = 0;
    for (int32_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        index = index * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

const ShaderRegisterRule* ShaderRegisterRule::Find(const char* word, int32_t length, ShaderDialect dialect,
                                                   int32_t& index, bool& known) {
    known = false;
    for (const ShaderRegisterRule& rule : kRules) {
        int32_t nameLength = int32_t(std::strlen(rule.name));
        if (length < nameLength || std::memcmp(rule.name, word, size_t(nameLength)) != 0) continue;
        if (rule.numbered) {
            if (!ReadIndex(word + nameLength, length - nameLength, index)) continue;
        } else {
            if (length != nameLength) continue;
            index = rule.fixedIndex;
        }
        known = true;
        if ((rule.dialects & dialect) != 0) return &rule;
    }
    return nullptr;
}

}  // namespace zel
