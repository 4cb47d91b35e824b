#include "engine/render/shader/ShaderOperandParser.h"

#include <cstring>

#include "engine/core/Status.h"
#include "engine/render/shader/ShaderRegisterRules.h"

namespace zel {

namespace {

// Source modifier codes of the token format.
constexpr uint32_t kModNegate = 1;
constexpr uint32_t kModComplement = 6;
constexpr uint32_t kModNot = 13;

// A component letter's index, in either naming (xyzw or rgba); -1 otherwise.
int32_t Component(char c, bool& colourNames) {
    const char* position = std::strchr("xyzw", c);
    if (c != '\0' && position != nullptr) {
        colourNames = false;
        return int32_t(position - "xyzw");
    }
    position = std::strchr("rgba", c);
    if (c != '\0' && position != nullptr) {
        colourNames = true;
        return int32_t(position - "rgba");
    }
    return -1;
}

int32_t UnderscoreAt(const ShaderToken& word) {
    for (int32_t i = 0; i < word.length; ++i)
        if (word.text[i] == '_') return i;
    return word.length;
}

struct SuffixModifier {
    const char* name;
    uint32_t plain;
    uint32_t negated;  // 0: cannot be negated
    uint32_t dialects;
};

constexpr SuffixModifier kSuffixModifiers[] = {
    {"bias", 2, 3, kPs1x}, {"bx2", 4, 5, kPs1x}, {"x2", 7, 8, kPs14},
    {"dz", 9, 0, kPs14},   {"dw", 10, 0, kPs14},
};

}  // namespace

int32_t ShaderOperandParser::Register(const ShaderToken& word, int32_t length, uint32_t access, ShaderRegister& reg,
                                      int32_t* count) {
    int32_t index = 0;
    bool known = false;
    const ShaderRegisterRule* rule = ShaderRegisterRule::Find(word.text, length, version_.dialect, index, known);
    int32_t shown = length > 40 ? 40 : length;
    if (rule == nullptr) {
        if (known) return in_.Fail(word, "register '%.*s' does not exist in this shader version", shown, word.text);
        return in_.Fail(word, "unknown register '%.*s'", shown, word.text);
    }
    if (rule->numbered && index >= rule->count)
        return in_.Fail(word, "register '%.*s' is beyond the last one of this shader version (%s%d)", shown,
                        word.text, rule->name, rule->count - 1);
    if ((rule->access & access) != access)
        return in_.Fail(word, "register '%.*s' cannot be %s", shown, word.text,
                        access == ShaderRegisterRule::kWrite ? "written" : "read");
    reg.type = rule->type;
    reg.index = index;
    if (count != nullptr) *count = rule->count;
    return kOk;
}

int32_t ShaderOperandParser::Destination(ShaderDestination& destination, bool checkAccess) {
    ShaderToken word;
    if (in_.Expect(ShaderToken::kIdentifier, "a destination register", &word) != kOk) return kFailed;
    if (UnderscoreAt(word) != word.length)
        return in_.Fail(word, "a destination register takes no modifier");
    uint32_t access = checkAccess ? uint32_t(ShaderRegisterRule::kWrite) : 0u;
    if (Register(word, word.length, access, destination.reg) != kOk) return kFailed;
    if (in_.Peek().kind == ShaderToken::kLeftBracket)
        return in_.Fail(in_.Peek(), "a destination register cannot be indexed in this shader version");
    destination.writeMask = 0xF;
    if (in_.Accept(ShaderToken::kDot)) return WriteMask(destination.writeMask);
    return kOk;
}

int32_t ShaderOperandParser::WriteMask(uint32_t& mask) {
    ShaderToken word;
    if (in_.Expect(ShaderToken::kIdentifier, "a write mask", &word) != kOk) return kFailed;
    mask = 0;
    int32_t last = -1;
    bool colourNames = false;
    bool firstColour = false;
    for (int32_t i = 0; i < word.length; ++i) {
        int32_t component = Component(word.text[i], colourNames);
        if (i == 0) firstColour = colourNames;
        if (component <= last || colourNames != firstColour || word.length > 4)
            return in_.Fail(word, "bad write mask '%.*s'", int(word.length > 8 ? 8 : word.length), word.text);
        mask |= 1u << component;
        last = component;
    }
    return kOk;
}

int32_t ShaderOperandParser::Swizzle(uint32_t& swizzle) {
    ShaderToken word;
    if (in_.Expect(ShaderToken::kIdentifier, "a swizzle", &word) != kOk) return kFailed;
    if (word.length > 4)
        return in_.Fail(word, "bad swizzle '%.*s'", int(word.length > 8 ? 8 : word.length), word.text);
    swizzle = 0;
    bool colourNames = false;
    bool firstColour = false;
    int32_t component = 0;
    for (int32_t i = 0; i < 4; ++i) {
        // A short swizzle repeats its last component.
        if (i < word.length) {
            component = Component(word.text[i], colourNames);
            if (i == 0) firstColour = colourNames;
            if (component < 0 || colourNames != firstColour)
                return in_.Fail(word, "bad swizzle '%.*s'", int(word.length), word.text);
        }
        swizzle |= uint32_t(component) << (2 * i);
    }
    return kOk;
}

int32_t ShaderOperandParser::SourceModifier(const ShaderToken& word, const char* suffix, int32_t length,
                                            uint32_t prefix, uint32_t& modifier) {
    for (const SuffixModifier& known : kSuffixModifiers) {
        if (int32_t(std::strlen(known.name)) != length || std::memcmp(known.name, suffix, size_t(length)) != 0)
            continue;
        if (!version_.Is(known.dialects))
            return in_.Fail(word, "source modifier '_%s' is not available in this shader version", known.name);
        if (prefix == kModNegate && known.negated == 0)
            return in_.Fail(word, "source modifier '_%s' cannot be negated", known.name);
        if (prefix != 0 && prefix != kModNegate)
            return in_.Fail(word, "source modifier '_%s' cannot follow a prefix modifier", known.name);
        modifier = prefix == kModNegate ? known.negated : known.plain;
        return kOk;
    }
    return in_.Fail(word, "unknown source modifier '_%.*s'", int(length > 20 ? 20 : length), suffix);
}

int32_t ShaderOperandParser::Source(ShaderSource& source) {
    source = ShaderSource();
    uint32_t prefix = 0;
    ShaderToken first = in_.Peek();
    if (first.kind == ShaderToken::kMinus) {
        prefix = kModNegate;
    } else if (first.kind == ShaderToken::kBang) {
        prefix = kModNot;
    } else if (first.kind == ShaderToken::kNumber && first.Is("1")) {
        prefix = kModComplement;
        in_.Take();
        if (in_.Peek().kind != ShaderToken::kMinus) return in_.FailExpected(in_.Peek(), "'-' after '1'");
    }
    if (prefix == kModComplement && !version_.Is(kPs1x))
        return in_.Fail(first, "'1-' is not available in this shader version");
    if (prefix != 0) in_.Take();
    ShaderToken word;
    if (in_.Expect(ShaderToken::kIdentifier, "a source register", &word) != kOk) return kFailed;
    int32_t nameLength = UnderscoreAt(word);
    source.modifier = prefix;
    if (nameLength < word.length &&
        SourceModifier(word, word.text + nameLength + 1, word.length - nameLength - 1, prefix, source.modifier) != kOk)
        return kFailed;
    if (in_.Peek().kind == ShaderToken::kLeftBracket) {
        if (Relative(word, source, nameLength) != kOk) return kFailed;
    } else {
        if (Register(word, nameLength, ShaderRegisterRule::kRead, source.reg) != kOk) return kFailed;
    }
    if (prefix == kModNot && source.reg.type != kRegConstBool)
        return in_.Fail(first, "'!' applies to boolean registers only");
    if (in_.Accept(ShaderToken::kDot)) return Swizzle(source.swizzle);
    return kOk;
}

int32_t ShaderOperandParser::AddressRegister(ShaderSource& source) {
    ShaderToken word = in_.Peek();
    if (word.Is("aL") && version_.Is(kVs20)) {
        in_.Take();
        source.address = ShaderRegister{kRegLoop, 0};
        source.addressSwizzle = 0xE4;
        return kOk;
    }
    if (!word.Is("a0")) return in_.FailExpected(word, "an address register");
    in_.Take();
    if (in_.Expect(ShaderToken::kDot, "'.' and the address component") != kOk) return kFailed;
    ShaderToken letter;
    if (in_.Expect(ShaderToken::kIdentifier, "an address component", &letter) != kOk) return kFailed;
    bool colourNames = false;
    int32_t component = letter.length == 1 ? Component(letter.text[0], colourNames) : -1;
    // Version 1.1 has a single address component.
    if (component < 0 || colourNames || (component > 0 && !version_.Is(kVs20)))
        return in_.Fail(letter, "bad address component '%.*s'", int(letter.length > 8 ? 8 : letter.length),
                        letter.text);
    source.address = ShaderRegister{kRegAddress, 0};
    source.addressSwizzle = uint32_t(component) * 0x55u;
    return kOk;
}

int32_t ShaderOperandParser::Relative(const ShaderToken& word, ShaderSource& source, int32_t nameLength) {
    if (version_.pixel) return in_.Fail(in_.Peek(), "pixel shaders have no relative addressing");
    // "c[a0.x]" names no register number: the base is 0.
    char name[8] = {};
    int32_t length = nameLength < 6 ? nameLength : 6;
    std::memcpy(name, word.text, size_t(length));
    if (length == 1) name[length++] = '0';
    ShaderToken named = word;
    named.text = name;
    int32_t count = 0;
    if (Register(named, length, ShaderRegisterRule::kRead, source.reg, &count) != kOk) return kFailed;
    if (source.reg.type != kRegConst) return in_.Fail(word, "only constant registers can be indexed");
    in_.Take();  // '['
    bool haveAddress = false;
    int64_t index = source.reg.index;
    do {
        ShaderToken term = in_.Peek();
        if (term.kind == ShaderToken::kNumber) {
            in_.Take();
            int64_t offset = 0;
            for (int32_t i = 0; i < term.length && offset < 100000; ++i) {
                if (term.text[i] < '0' || term.text[i] > '9') return in_.Fail(term, "the offset must be an integer");
                offset = offset * 10 + (term.text[i] - '0');
            }
            index += offset;
        } else if (haveAddress) {
            return in_.FailExpected(term, "an offset");
        } else {
            if (AddressRegister(source) != kOk) return kFailed;
            haveAddress = true;
        }
    } while (in_.Accept(ShaderToken::kPlus));
    if (in_.Expect(ShaderToken::kRightBracket, "']'") != kOk) return kFailed;
    if (index >= count)
        return in_.Fail(word, "constant index %lld is beyond the last one of this shader version (c%d)",
                        static_cast<long long>(index), count - 1);
    // "c[4]" is plain c4.
    source.reg.index = int32_t(index);
    source.relative = haveAddress;
    source.hasAddressToken = haveAddress && version_.major >= 2;
    return kOk;
}

}  // namespace zel
