// Our Direct3D 9 shader assembler: program text in, token stream out, for
// the dialects vs_1_1, vs_2_0, ps_1_1 to ps_1_4 ("ps.1.1" spelling too)
// and ps_2_0. For a valid program the tokens are the ones the reference
// assembler emits (version token, instructions with their parameter tokens,
// no comment blocks, end token). An invalid program yields an error with
// its line and column; register indices beyond what the version has are
// refused.
#pragma once

#include <cstdint>

#include "engine/core/GrowableArray.h"
#include "engine/render/shader/ShaderTokenStream.h"

namespace zel {

class ShaderAssembler {
public:
    // Assembles `length` bytes of `text` (no terminating zero needed) into
    // `tokens`, which are replaced. kOk; kFailed with `error` filled (the
    // tokens are then incomplete); kOutOfMemory.
    static int32_t Assemble(const char* text, int32_t length, GrowableArray<uint32_t>& tokens,
                            ShaderAssemblyError& error);

    // "line L, column C: message" into `out` (always terminated).
    static void FormatError(const ShaderAssemblyError& error, char* out, int32_t size);
};

}  // namespace zel
