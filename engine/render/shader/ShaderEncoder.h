// Builds token streams: the bit layout of instruction and parameter tokens,
// and the instruction length that version 2 programs carry in bits 24-27
// of each instruction token. Writes to one section of the program at a
// time (declarations and definitions go ahead of the code).
#pragma once

#include <cstdint>

#include "engine/core/GrowableArray.h"
#include "engine/render/shader/ShaderRegisterRules.h"

namespace zel {

struct ShaderDestination {
    ShaderRegister reg;
    uint32_t writeMask = 0xF;  // bits x, y, z, w
    uint32_t resultModifier = 0;  // 1 saturate, 2 partial precision
    uint32_t shift = 0;  // 4-bit signed scale of pixel shader 1.x results
};

struct ShaderSource {
    ShaderRegister reg;
    uint32_t swizzle = 0xE4;  // two bits per output component, identity
    uint32_t modifier = 0;  // negate, bias, sign, complement, ...
    bool relative = false;  // indexed by an address register
    bool hasAddressToken = false;  // version 2 names the index register in a token of its own
    ShaderRegister address;
    uint32_t addressSwizzle = 0;
};

class ShaderEncoder {
public:
    explicit ShaderEncoder(GrowableArray<uint32_t>& tokens) : tokens_(&tokens) {}

    // Where the following tokens go.
    void SetTarget(GrowableArray<uint32_t>& tokens) { tokens_ = &tokens; }
    GrowableArray<uint32_t>& Target() { return *tokens_; }

    // Version 2 instruction tokens carry their length; 1.x ones do not.
    void SetLengthBits(bool lengthBits) { lengthBits_ = lengthBits; }

    void Raw(uint32_t token);
    void BeginInstruction(uint32_t opcode, uint32_t control, bool coissue);
    void Destination(const ShaderDestination& destination);
    void Source(const ShaderSource& source);
    // Writes the length of the instruction begun last, when the version
    // wants it.
    void EndInstruction();
    // Sticky: an append failed since construction.
    bool OutOfMemory() const { return outOfMemory_; }

    static uint32_t RegisterBits(const ShaderRegister& reg);

private:
    GrowableArray<uint32_t>* tokens_;
    bool lengthBits_ = false;
    bool outOfMemory_ = false;
    int32_t instructionAt_ = -1;
};

}  // namespace zel
