// Reads one program statement by statement: the version line, then each
// instruction with its modifiers, and the statements whose operands are not
// registers only (def, defi, defb, dcl, phase). Like the reference
// assembler, the output gathers declarations and definitions ahead of the
// code, wherever they stand in the text: input declarations, sampler
// declarations, float, boolean and integer constants, each kind in text
// order.
#pragma once

#include <cstdint>

#include "engine/render/shader/ShaderEncoder.h"
#include "engine/render/shader/ShaderInstructionTable.h"
#include "engine/render/shader/ShaderOperandParser.h"
#include "engine/render/shader/ShaderTokenStream.h"

namespace zel {

class ShaderStatementParser {
public:
    explicit ShaderStatementParser(ShaderTokenStream& in) : in_(in) {}

    // The whole program into `tokens` (replaced). kOk, kFailed (error in
    // the stream) or kOutOfMemory.
    int32_t Program(GrowableArray<uint32_t>& tokens);

private:
    struct Modifiers {
        uint32_t result = 0;
        uint32_t shift = 0;
    };

    int32_t Version();
    int32_t Statement();
    int32_t InstructionModifiers(const ShaderToken& word, int32_t from, Modifiers& modifiers);
    int32_t Plain(const ShaderInstruction& instruction, const Modifiers& modifiers, bool coissue);
    int32_t DefineFloat(const ShaderInstruction& instruction);
    int32_t DefineInt(const ShaderInstruction& instruction);
    int32_t DefineBool(const ShaderInstruction& instruction);
    int32_t Declare(const ShaderInstruction& instruction, const ShaderToken& word, int32_t usageAt);
    int32_t DeclarationToken(const ShaderToken& word, int32_t usageAt, const ShaderRegister& reg, uint32_t& token);
    int32_t DefinedRegister(uint32_t type, ShaderDestination& destination);
    int32_t Number(bool integer, uint32_t& bits);
    int32_t Join(GrowableArray<uint32_t>& tokens);

    // The parts of the output, in output order.
    enum Section { kInputs, kSamplers, kFloats, kBools, kInts, kCode, kSectionCount };

    ShaderTokenStream& in_;
    ShaderVersion version_;
    ShaderOperandParser operands_{in_, version_};
    GrowableArray<uint32_t> sections_[kSectionCount] = {
        GrowableArray<uint32_t>(16, 64), GrowableArray<uint32_t>(16, 64), GrowableArray<uint32_t>(16, 64),
        GrowableArray<uint32_t>(16, 64), GrowableArray<uint32_t>(16, 64), GrowableArray<uint32_t>(256, 4096)};
    ShaderEncoder encoder_{sections_[kCode]};
};

}  // namespace zel
