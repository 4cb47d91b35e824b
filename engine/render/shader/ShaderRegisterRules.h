// Register files by dialect: the name a program uses, the type code the
// tokens carry, how many registers the version has, and whether they can be
// read or written. Indices beyond a version's count are refused.
#pragma once

#include <cstdint>

#include "engine/render/shader/ShaderVersion.h"

namespace zel {

// Register type codes of the token format.
enum ShaderRegisterType : uint32_t {
    kRegTemp = 0,
    kRegInput = 1,
    kRegConst = 2,
    kRegAddress = 3,  // a0 in vertex shaders, t# in pixel shaders
    kRegRasterOut = 4,
    kRegAttributeOut = 5,
    kRegTexCoordOut = 6,
    kRegConstInt = 7,
    kRegColorOut = 8,
    kRegDepthOut = 9,
    kRegSampler = 10,
    kRegConstBool = 14,
    kRegLoop = 15,
    kRegLabel = 18,
};

struct ShaderRegister {
    uint32_t type = kRegTemp;
    int32_t index = 0;
};

struct ShaderRegisterRule {
    enum Access : uint32_t { kRead = 1, kWrite = 2 };

    const char* name;  // "r", "oPos"; names without a number are fixed registers
    bool numbered;
    int32_t fixedIndex;  // the index of an unnumbered register (oFog is raster output 1)
    uint32_t type;
    int32_t count;
    uint32_t access;
    uint32_t dialects;

    // Splits a register word ("r12", "oT3", "aL") into its rule for the
    // dialect and its index (not yet checked against the count). Returns
    // null when the dialect has no such register; `known` tells whether
    // another dialect has it.
    static const ShaderRegisterRule* Find(const char* word, int32_t length, ShaderDialect dialect, int32_t& index,
                                          bool& known);
};

}  // namespace zel
