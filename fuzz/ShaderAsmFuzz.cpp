// Arbitrary text as a shader program. Assembling must end in tokens or an
// error with a position inside the text, never a crash; accepted programs
// start with a version token and end with the end token.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/GrowableArray.h"
#include "engine/render/shader/ShaderAssembler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) return 0;
    zel::GrowableArray<uint32_t> tokens;
    zel::ShaderAssemblyError error;
    int32_t result =
        zel::ShaderAssembler::Assemble(reinterpret_cast<const char*>(data), int32_t(size), tokens, error);
    if (result == 0) {
        if (tokens.Count() < 2 || (tokens[0] & 0xFFFE0000u) != 0xFFFE0000u || tokens[tokens.Count() - 1] != 0xFFFFu)
            std::abort();
    } else if (result == 1) {
        if (error.line < 1 || error.column < 1 || error.message[0] == '\0') std::abort();
    }
    return 0;
}
