// Splits shader assembly text into tokens, each with its line and column
// (both from 1). Comments (";" and "//" to the end of the line, "/* */")
// are dropped; line ends are tokens because a statement ends at one.
#pragma once

#include <cstdint>

namespace zel {

struct ShaderToken {
    enum Kind : int32_t {
        kEnd,         // end of text
        kNewline,
        kIdentifier,  // letters, digits, '_'; a version word may hold dots ("ps.1.1")
        kNumber,      // 12, 0.5, .5, 1e-3, 1.0f
        kComma,
        kDot,
        kPlus,
        kMinus,
        kBang,
        kLeftBracket,
        kRightBracket,
        kInvalid,     // a character no token starts with, or an unclosed comment
    };

    Kind kind = kEnd;
    const char* text = nullptr;  // into the source; not owned
    int32_t length = 0;
    int32_t line = 1;
    int32_t column = 1;

    bool Is(const char* word) const;
};

class ShaderLexer {
public:
    // The text need not be zero-terminated; it must outlive the lexer and
    // the tokens it hands out.
    ShaderLexer(const char* text, int32_t length) : text_(text), end_(text + (length > 0 ? length : 0)) {}

    // The next token; kEnd at the end, repeatedly.
    ShaderToken Next();

private:
    // Skips blanks and comments; returns true when a line end was crossed
    // inside a block comment (it still separates statements). An unclosed
    // comment leaves `unclosed` pointing at its start, else null.
    bool SkipBlanks(ShaderToken*& unclosed);
    void Advance(int32_t count);
    ShaderToken Make(ShaderToken::Kind kind, const char* start, int32_t line, int32_t column) const;
    void ReadIdentifier();
    void ReadNumber();

    const char* text_;
    const char* end_;
    int32_t line_ = 1;
    int32_t column_ = 1;
    ShaderToken unclosedComment_;
};

}  // namespace zel
