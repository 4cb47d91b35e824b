// The assembler's view of the lexer: one token of look-ahead and the place
// where every error is written, with the line and column of the token it
// concerns.
#pragma once

#include <cstdint>

#include "engine/render/shader/ShaderLexer.h"

namespace zel {

// Where and why a program was refused.
struct ShaderAssemblyError {
    int32_t line = 0;
    int32_t column = 0;
    char message[160] = {};
};

class ShaderTokenStream {
public:
    ShaderTokenStream(const char* text, int32_t length, ShaderAssemblyError& error)
        : lexer_(text, length), current_(lexer_.Next()), error_(error) {}

    const ShaderToken& Peek() const { return current_; }
    ShaderToken Take();
    // Takes the next token when it is of `kind`.
    bool Accept(ShaderToken::Kind kind);
    // kOk and the token taken, or kFailed naming `what` was expected.
    int32_t Expect(ShaderToken::Kind kind, const char* what, ShaderToken* taken = nullptr);
    // A statement ends at a line end or the end of the text.
    int32_t ExpectEndOfStatement();
    bool AtStatementEnd() const;

    // Records the error at `at` (printf-style message) and returns kFailed.
    int32_t Fail(const ShaderToken& at, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // Fails with "expected WHAT, found ..." naming what `at` is.
    int32_t FailExpected(const ShaderToken& at, const char* what);

private:
    ShaderLexer lexer_;
    ShaderToken current_;
    ShaderAssemblyError& error_;
};

}  // namespace zel
