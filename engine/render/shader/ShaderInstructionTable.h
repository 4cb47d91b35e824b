// The instructions of the supported dialects: mnemonic, opcode, operand
// shape and the dialects that have them. One mnemonic may have several rows
// when its shape changes with the version ("texld", "sincos").
#pragma once

#include <cstdint>

#include "engine/render/shader/ShaderVersion.h"

namespace zel {

struct ShaderInstruction {
    // How the operands are read and written beyond plain registers.
    enum Form : int32_t {
        kPlain,      // optional destination, then register sources
        kDefFloat,   // def c#, four floats
        kDefInt,     // defi i#, four integers
        kDefBool,    // defb b#, true or false
        kDeclare,    // dcl_usage / dcl_2d ...: a declaration token and a destination
        kPhase,      // a bare marker token, no operands
    };

    // texkill names the register it tests in the destination slot.
    static constexpr uint16_t kTexKill = 65;

    const char* mnemonic;
    uint16_t opcode;
    bool hasDestination;
    int32_t sourceCount;
    uint32_t dialects;
    uint32_t control;  // bits 16-23 of the instruction token (texldp, texldb)
    Form form;

    // The row for a mnemonic in a dialect; null when the dialect has no such
    // instruction. `known` tells whether any dialect has it.
    static const ShaderInstruction* Find(const char* mnemonic, int32_t length, ShaderDialect dialect, bool& known);
};

}  // namespace zel
