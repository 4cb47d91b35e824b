// The assembly dialects the assembler accepts, named by their version line
// ("vs_1_1", "ps_1_4", "ps.1.1", ...). Each dialect is one bit so that the
// instruction and register tables can list where an entry is valid.
#pragma once

#include <cstdint>

namespace zel {

enum ShaderDialect : uint32_t {
    kVs11 = 1u << 0,
    kVs20 = 1u << 1,
    kPs11 = 1u << 2,
    kPs12 = 1u << 3,
    kPs13 = 1u << 4,
    kPs14 = 1u << 5,
    kPs20 = 1u << 6,
};

constexpr uint32_t kVsAll = kVs11 | kVs20;
constexpr uint32_t kPs1x = kPs11 | kPs12 | kPs13 | kPs14;
constexpr uint32_t kPs13Down = kPs11 | kPs12 | kPs13;
constexpr uint32_t kPsAll = kPs1x | kPs20;
constexpr uint32_t kVersion2 = kVs20 | kPs20;

struct ShaderVersion {
    ShaderDialect dialect = kVs11;
    bool pixel = false;
    int32_t major = 1;
    int32_t minor = 1;

    // The first token of the program: 0xFFFE (vertex) or 0xFFFF (pixel)
    // above the major and minor numbers.
    uint32_t Token() const {
        return (pixel ? 0xFFFF0000u : 0xFFFE0000u) | uint32_t(major) << 8 | uint32_t(minor);
    }
    bool Is(uint32_t dialects) const { return (dialect & dialects) != 0; }

    // Reads a version line word ("vs_2_0", "ps.1.3"); false for anything
    // else, including versions the assembler does not support.
    static bool Parse(const char* text, int32_t length, ShaderVersion& version);
};

}  // namespace zel
