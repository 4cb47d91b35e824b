#include "engine/render/shader/ShaderAssembler.h"

#include <cstdio>

#include "engine/core/Status.h"
#include "engine/render/shader/ShaderStatementParser.h"

namespace zel {

int32_t ShaderAssembler::Assemble(const char* text, int32_t length, GrowableArray<uint32_t>& tokens,
                                  ShaderAssemblyError& error) {
    error = ShaderAssemblyError();
    ShaderTokenStream in(text != nullptr ? text : "", text != nullptr ? length : 0, error);
    ShaderStatementParser parser(in);
    return parser.Program(tokens);
}

void ShaderAssembler::FormatError(const ShaderAssemblyError& error, char* out, int32_t size) {
    if (size <= 0) return;
    std::snprintf(out, size_t(size), "line %d, column %d: %s", int(error.line), int(error.column), error.message);
}

}  // namespace zel
