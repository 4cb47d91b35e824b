// Reads the register operands of an instruction: destinations with their
// write masks, sources with their modifiers, swizzles and relative
// addressing, each checked against the register rules of the dialect.
#pragma once

#include <cstdint>

#include "engine/render/shader/ShaderEncoder.h"
#include "engine/render/shader/ShaderTokenStream.h"
#include "engine/render/shader/ShaderVersion.h"

namespace zel {

class ShaderOperandParser {
public:
    ShaderOperandParser(ShaderTokenStream& in, const ShaderVersion& version) : in_(in), version_(version) {}

    // `checkAccess` is off for declarations and texkill, which name
    // registers they do not write.
    int32_t Destination(ShaderDestination& destination, bool checkAccess);
    int32_t Source(ShaderSource& source);

    // The register a word names, checked against the dialect and its count.
    int32_t Register(const ShaderToken& word, int32_t length, uint32_t access, ShaderRegister& reg,
                     int32_t* count = nullptr);

private:
    int32_t WriteMask(uint32_t& mask);
    int32_t Swizzle(uint32_t& swizzle);
    int32_t SourceModifier(const ShaderToken& word, const char* suffix, int32_t length, uint32_t prefix,
                           uint32_t& modifier);
    int32_t Relative(const ShaderToken& word, ShaderSource& source, int32_t nameLength);
    int32_t AddressRegister(ShaderSource& source);

    ShaderTokenStream& in_;
    const ShaderVersion& version_;
};

}  // namespace zel
