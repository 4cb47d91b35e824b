#include "engine/render/shader/ShaderLexer.h"

#include <cstring>

namespace zel {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

bool ShaderToken::Is(const char* word) const {
    return int32_t(std::strlen(word)) == length && std::memcmp(word, text, size_t(length)) == 0;
}

void ShaderLexer::Advance(int32_t count) {
    for (int32_t i = 0; i < count && text_ < end_; ++i, ++text_) {
        if (*text_ == '\n') {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
    }
}

bool ShaderLexer::SkipBlanks(ShaderToken*& unclosed) {
    bool crossedLine = false;
    unclosed = nullptr;
    while (text_ < end_) {
        char c = *text_;
        char next = text_ + 1 < end_ ? text_[1] : '\0';
        if (IsBlank(c)) {
            Advance(1);
        } else if (c == ';' || (c == '/' && next == '/')) {
            while (text_ < end_ && *text_ != '\n') Advance(1);
        } else if (c == '/' && next == '*') {
            unclosedComment_ = Make(ShaderToken::kInvalid, text_, line_, column_);
            Advance(2);
            while (text_ < end_ && !(*text_ == '*' && text_ + 1 < end_ && text_[1] == '/')) {
                crossedLine |= *text_ == '\n';
                Advance(1);
            }
            if (text_ == end_) {
                unclosed = &unclosedComment_;
                return crossedLine;
            }
            Advance(2);
        } else {
            break;
        }
    }
    return crossedLine;
}

ShaderToken ShaderLexer::Make(ShaderToken::Kind kind, const char* start, int32_t line, int32_t column) const {
    ShaderToken token;
    token.kind = kind;
    token.text = start;
    token.length = int32_t(text_ - start);
    token.line = line;
    token.column = column;
    return token;
}

void ShaderLexer::ReadIdentifier() {
    const char* start = text_;
    while (text_ < end_ && (IsLetter(*text_) || IsDigit(*text_))) Advance(1);
    // "vs.1.1" / "ps.1.4": the dotted version spelling is one word.
    bool versionWord = text_ - start == 2 && (start[0] == 'v' || start[0] == 'p') && start[1] == 's';
    while (versionWord && text_ + 1 < end_ && *text_ == '.' && IsDigit(text_[1])) Advance(2);
}

void ShaderLexer::ReadNumber() {
    while (text_ < end_ && IsDigit(*text_)) Advance(1);
    if (text_ < end_ && *text_ == '.') {
        Advance(1);
        while (text_ < end_ && IsDigit(*text_)) Advance(1);
    }
    if (text_ < end_ && (*text_ == 'e' || *text_ == 'E')) {
        const char* sign = text_ + 1;
        if (sign < end_ && (*sign == '+' || *sign == '-')) ++sign;
        if (sign < end_ && IsDigit(*sign)) {
            Advance(int32_t(sign - text_));
            while (text_ < end_ && IsDigit(*text_)) Advance(1);
        }
    }
    if (text_ < end_ && (*text_ == 'f' || *text_ == 'F')) Advance(1);
}

ShaderToken ShaderLexer::Next() {
    ShaderToken* unclosed = nullptr;
    int32_t line = line_;
    int32_t column = column_;
    bool crossedLine = SkipBlanks(unclosed);
    if (unclosed != nullptr) return *unclosed;
    if (crossedLine) return Make(ShaderToken::kNewline, text_, line, column);
    line = line_;
    column = column_;
    const char* start = text_;
    if (text_ == end_) return Make(ShaderToken::kEnd, start, line, column);
    char c = *text_;
    char next = text_ + 1 < end_ ? text_[1] : '\0';
    if (IsLetter(c)) {
        ReadIdentifier();
        return Make(ShaderToken::kIdentifier, start, line, column);
    }
    if (IsDigit(c) || (c == '.' && IsDigit(next))) {
        ReadNumber();
        return Make(ShaderToken::kNumber, start, line, column);
    }
    ShaderToken::Kind kind = ShaderToken::kInvalid;
    switch (c) {
        case '\n': kind = ShaderToken::kNewline; break;
        case ',': kind = ShaderToken::kComma; break;
        case '.': kind = ShaderToken::kDot; break;
        case '+': kind = ShaderToken::kPlus; break;
        case '-': kind = ShaderToken::kMinus; break;
        case '!': kind = ShaderToken::kBang; break;
        case '[': kind = ShaderToken::kLeftBracket; break;
        case ']': kind = ShaderToken::kRightBracket; break;
        default: break;
    }
    Advance(1);
    return Make(kind, start, line, column);
}

}  // namespace zel
