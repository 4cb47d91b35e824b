#include "engine/render/shader/ShaderTokenStream.h"

#include <cstdarg>
#include <cstdio>

#include "engine/core/Status.h"

namespace zel {

ShaderToken ShaderTokenStream::Take() {
    ShaderToken taken = current_;
    if (current_.kind != ShaderToken::kEnd) current_ = lexer_.Next();
    return taken;
}

bool ShaderTokenStream::Accept(ShaderToken::Kind kind) {
    if (current_.kind != kind) return false;
    Take();
    return true;
}

int32_t ShaderTokenStream::Expect(ShaderToken::Kind kind, const char* what, ShaderToken* taken) {
    if (current_.kind != kind) return FailExpected(current_, what);
    ShaderToken token = Take();
    if (taken != nullptr) *taken = token;
    return kOk;
}

bool ShaderTokenStream::AtStatementEnd() const {
    return current_.kind == ShaderToken::kNewline || current_.kind == ShaderToken::kEnd;
}

int32_t ShaderTokenStream::ExpectEndOfStatement() {
    if (!AtStatementEnd()) return FailExpected(current_, "end of line");
    Take();
    return kOk;
}

int32_t ShaderTokenStream::Fail(const ShaderToken& at, const char* format, ...) {
    error_.line = at.line;
    error_.column = at.column;
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(error_.message, sizeof error_.message, format, arguments);
    va_end(arguments);
    return kFailed;
}

int32_t ShaderTokenStream::FailExpected(const ShaderToken& at, const char* what) {
    switch (at.kind) {
        case ShaderToken::kEnd: return Fail(at, "expected %s, found the end of the text", what);
        case ShaderToken::kNewline: return Fail(at, "expected %s, found the end of the line", what);
        case ShaderToken::kInvalid:
            if (at.length == 0) return Fail(at, "unclosed comment");
            return Fail(at, "unexpected character (code %d)", int(static_cast<unsigned char>(at.text[0])));
        default: return Fail(at, "expected %s, found '%.*s'", what, int(at.length > 40 ? 40 : at.length), at.text);
    }
}

}  // namespace zel
