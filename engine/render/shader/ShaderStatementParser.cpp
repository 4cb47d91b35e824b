#include "engine/render/shader/ShaderStatementParser.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "engine/core/Status.h"

namespace zel {

namespace {

constexpr uint32_t kEndToken = 0x0000FFFF;
constexpr uint32_t kDeclarationBit = 0x80000000u;

struct InstructionModifier {
    const char* name;
    bool isShift;
    uint32_t value;
    uint32_t dialects;
};

constexpr InstructionModifier kInstructionModifiers[] = {
    {"sat", false, 1, kPsAll},  {"pp", false, 2, kPs20},   {"x2", true, 1, kPs1x},  {"x4", true, 2, kPs1x},
    {"x8", true, 3, kPs14},     {"d2", true, 15, kPs1x},   {"d4", true, 14, kPs14}, {"d8", true, 13, kPs14},
};

constexpr const char* kUsages[] = {"position", "blendweight", "blendindices", "normal",    "psize",
                                   "texcoord", "tangent",     "binormal",     "tessfactor", "positiont",
                                   "color",    "fog",         "depth",        "sample"};

struct TextureType {
    const char* name;
    uint32_t code;
};

constexpr TextureType kTextureTypes[] = {{"2d", 2}, {"cube", 3}, {"volume", 4}};

bool Equals(const char* text, int32_t length, const char* word) {
    return int32_t(std::strlen(word)) == length && std::memcmp(text, word, size_t(length)) == 0;
}

int32_t NextUnderscore(const ShaderToken& word, int32_t from) {
    while (from < word.length && word.text[from] != '_') ++from;
    return from;
}

}  // namespace

int32_t ShaderStatementParser::Program(GrowableArray<uint32_t>& tokens) {
    tokens.Clear();
    while (in_.Accept(ShaderToken::kNewline)) {
    }
    if (Version() != kOk) return kFailed;
    while (true) {
        while (in_.Accept(ShaderToken::kNewline)) {
        }
        if (in_.Peek().kind == ShaderToken::kEnd) break;
        encoder_.SetTarget(sections_[kCode]);
        if (Statement() != kOk) return kFailed;
        if (encoder_.OutOfMemory()) return kOutOfMemory;
    }
    return Join(tokens);
}

int32_t ShaderStatementParser::Join(GrowableArray<uint32_t>& tokens) {
    int32_t total = 2;
    for (const GrowableArray<uint32_t>& section : sections_) total += section.Count();
    if (tokens.Reserve(total) != kOk) return kOutOfMemory;
    tokens.Append(version_.Token());
    for (const GrowableArray<uint32_t>& section : sections_)
        for (uint32_t token : section) tokens.Append(token);
    tokens.Append(kEndToken);
    return kOk;
}

int32_t ShaderStatementParser::Version() {
    ShaderToken word = in_.Peek();
    if (word.kind != ShaderToken::kIdentifier || !ShaderVersion::Parse(word.text, word.length, version_))
        return in_.FailExpected(word, "a version line (vs_1_1, vs_2_0, ps_1_1 to ps_1_4, ps_2_0)");
    in_.Take();
    encoder_.SetLengthBits(version_.major >= 2);
    return in_.ExpectEndOfStatement();
}

int32_t ShaderStatementParser::Statement() {
    bool coissue = false;
    ShaderToken plus = in_.Peek();
    if (in_.Accept(ShaderToken::kPlus)) {
        if (!version_.Is(kPs1x)) return in_.Fail(plus, "co-issue ('+') needs pixel shader 1.x");
        coissue = true;
    }
    ShaderToken word;
    if (in_.Expect(ShaderToken::kIdentifier, "an instruction", &word) != kOk) return kFailed;
    int32_t nameLength = NextUnderscore(word, 0);
    bool known = false;
    const ShaderInstruction* instruction = ShaderInstruction::Find(word.text, nameLength, version_.dialect, known);
    if (instruction == nullptr) {
        int shown = nameLength > 40 ? 40 : nameLength;
        if (known) return in_.Fail(word, "instruction '%.*s' does not exist in this shader version", shown, word.text);
        return in_.Fail(word, "unknown instruction '%.*s'", shown, word.text);
    }
    if (coissue && !instruction->hasDestination) return in_.Fail(plus, "this instruction cannot be co-issued");
    if (instruction->form == ShaderInstruction::kDeclare) return Declare(*instruction, word, nameLength);
    Modifiers modifiers;
    if (InstructionModifiers(word, nameLength, modifiers) != kOk) return kFailed;
    if (instruction->form != ShaderInstruction::kPlain && nameLength != word.length)
        return in_.Fail(word, "this instruction takes no modifier");
    switch (instruction->form) {
        case ShaderInstruction::kDefFloat: return DefineFloat(*instruction);
        case ShaderInstruction::kDefInt: return DefineInt(*instruction);
        case ShaderInstruction::kDefBool: return DefineBool(*instruction);
        case ShaderInstruction::kPhase:
            encoder_.Raw(instruction->opcode);
            return in_.ExpectEndOfStatement();
        default: return Plain(*instruction, modifiers, coissue);
    }
}

int32_t ShaderStatementParser::InstructionModifiers(const ShaderToken& word, int32_t from, Modifiers& modifiers) {
    bool haveShift = false;
    while (from < word.length) {
        int32_t start = from + 1;
        int32_t end = NextUnderscore(word, start);
        const InstructionModifier* found = nullptr;
        for (const InstructionModifier& known : kInstructionModifiers)
            if (Equals(word.text + start, end - start, known.name)) found = &known;
        if (found == nullptr)
            return in_.Fail(word, "unknown instruction modifier '_%.*s'", int(end - start > 20 ? 20 : end - start),
                            word.text + start);
        if (!version_.Is(found->dialects))
            return in_.Fail(word, "instruction modifier '_%s' is not available in this shader version", found->name);
        if (found->isShift) {
            if (haveShift) return in_.Fail(word, "only one scale modifier is allowed");
            haveShift = true;
            modifiers.shift = found->value;
        } else {
            if ((modifiers.result & found->value) != 0)
                return in_.Fail(word, "instruction modifier '_%s' is repeated", found->name);
            modifiers.result |= found->value;
        }
        from = end;
    }
    return kOk;
}

int32_t ShaderStatementParser::Plain(const ShaderInstruction& instruction, const Modifiers& modifiers, bool coissue) {
    if (!instruction.hasDestination && (modifiers.result != 0 || modifiers.shift != 0))
        return in_.Fail(in_.Peek(), "this instruction takes no modifier");
    encoder_.BeginInstruction(instruction.opcode, instruction.control, coissue);
    bool first = true;
    if (instruction.hasDestination) {
        ShaderDestination destination;
        // texkill reads the register it names.
        if (operands_.Destination(destination, instruction.opcode != ShaderInstruction::kTexKill) != kOk)
            return kFailed;
        destination.resultModifier = modifiers.result;
        destination.shift = modifiers.shift;
        encoder_.Destination(destination);
        first = false;
    }
    for (int32_t i = 0; i < instruction.sourceCount; ++i) {
        if (!first && in_.Expect(ShaderToken::kComma, "','") != kOk) return kFailed;
        first = false;
        ShaderSource source;
        if (operands_.Source(source) != kOk) return kFailed;
        encoder_.Source(source);
    }
    encoder_.EndInstruction();
    return in_.ExpectEndOfStatement();
}

int32_t ShaderStatementParser::DefinedRegister(uint32_t type, ShaderDestination& destination) {
    ShaderToken word = in_.Peek();
    if (operands_.Destination(destination, false) != kOk) return kFailed;
    if (destination.reg.type != type || destination.writeMask != 0xF)
        return in_.Fail(word, "this definition needs a whole %s register",
                        type == kRegConst ? "c" : (type == kRegConstInt ? "i" : "b"));
    encoder_.Destination(destination);
    return kOk;
}

int32_t ShaderStatementParser::Number(bool integer, uint32_t& bits) {
    if (in_.Expect(ShaderToken::kComma, "','") != kOk) return kFailed;
    bool negative = in_.Accept(ShaderToken::kMinus);
    ShaderToken number;
    if (in_.Expect(ShaderToken::kNumber, "a number", &number) != kOk) return kFailed;
    char text[64] = {};
    int32_t length = number.length;
    if (length > 0 && (number.text[length - 1] == 'f' || number.text[length - 1] == 'F')) --length;
    if (length >= int32_t(sizeof text) - 1) return in_.Fail(number, "number too long");
    text[0] = negative ? '-' : '+';
    std::memcpy(text + 1, number.text, size_t(length));
    char* end = nullptr;
    errno = 0;
    if (integer) {
        long long value = std::strtoll(text, &end, 10);
        if (*end != '\0' || errno != 0 || value < INT32_MIN || value > INT32_MAX)
            return in_.Fail(number, "expected a 32-bit integer");
        bits = uint32_t(int32_t(value));
        return kOk;
    }
    float value = std::strtof(text, &end);
    if (*end != '\0') return in_.Fail(number, "bad number");
    std::memcpy(&bits, &value, sizeof bits);
    return kOk;
}

int32_t ShaderStatementParser::DefineFloat(const ShaderInstruction& instruction) {
    encoder_.SetTarget(sections_[kFloats]);
    encoder_.BeginInstruction(instruction.opcode, 0, false);
    ShaderDestination destination;
    if (DefinedRegister(kRegConst, destination) != kOk) return kFailed;
    for (int32_t i = 0; i < 4; ++i) {
        uint32_t bits = 0;
        if (Number(false, bits) != kOk) return kFailed;
        encoder_.Raw(bits);
    }
    encoder_.EndInstruction();
    return in_.ExpectEndOfStatement();
}

int32_t ShaderStatementParser::DefineInt(const ShaderInstruction& instruction) {
    encoder_.SetTarget(sections_[kInts]);
    encoder_.BeginInstruction(instruction.opcode, 0, false);
    ShaderDestination destination;
    if (DefinedRegister(kRegConstInt, destination) != kOk) return kFailed;
    for (int32_t i = 0; i < 4; ++i) {
        uint32_t bits = 0;
        if (Number(true, bits) != kOk) return kFailed;
        encoder_.Raw(bits);
    }
    encoder_.EndInstruction();
    return in_.ExpectEndOfStatement();
}

int32_t ShaderStatementParser::DefineBool(const ShaderInstruction& instruction) {
    encoder_.SetTarget(sections_[kBools]);
    encoder_.BeginInstruction(instruction.opcode, 0, false);
    ShaderDestination destination;
    if (DefinedRegister(kRegConstBool, destination) != kOk) return kFailed;
    if (in_.Expect(ShaderToken::kComma, "','") != kOk) return kFailed;
    ShaderToken value = in_.Peek();
    if (!value.Is("true") && !value.Is("false")) return in_.FailExpected(value, "true or false");
    in_.Take();
    encoder_.Raw(value.Is("true") ? 1u : 0u);
    encoder_.EndInstruction();
    return in_.ExpectEndOfStatement();
}

int32_t ShaderStatementParser::Declare(const ShaderInstruction& instruction, const ShaderToken& word, int32_t usageAt) {
    ShaderDestination destination;
    if (operands_.Destination(destination, false) != kOk) return kFailed;
    uint32_t token = 0;
    if (DeclarationToken(word, usageAt, destination.reg, token) != kOk) return kFailed;
    encoder_.SetTarget(sections_[destination.reg.type == kRegSampler ? kSamplers : kInputs]);
    encoder_.BeginInstruction(instruction.opcode, 0, false);
    encoder_.Raw(token);
    encoder_.Destination(destination);
    encoder_.EndInstruction();
    return in_.ExpectEndOfStatement();
}

// The token after the dcl opcode: usage and usage index for vertex inputs,
// the texture type for samplers, a bare marker for pixel shader inputs.
int32_t ShaderStatementParser::DeclarationToken(const ShaderToken& word, int32_t usageAt, const ShaderRegister& reg,
                                                uint32_t& token) {
    const char* suffix = word.text + usageAt + 1;
    int32_t length = usageAt < word.length ? word.length - usageAt - 1 : -1;
    if (reg.type == kRegSampler) {
        for (const TextureType& type : kTextureTypes) {
            if (!Equals(suffix, length, type.name)) continue;
            token = kDeclarationBit | type.code << 27;
            return kOk;
        }
        return in_.Fail(word, "a sampler declaration needs _2d, _cube or _volume");
    }
    if (version_.pixel) {
        if (reg.type != kRegInput && reg.type != kRegAddress) return in_.Fail(word, "only v#, t# and s# can be declared");
        if (length >= 0) return in_.Fail(word, "a pixel shader input declaration takes no usage");
        token = kDeclarationBit;
        return kOk;
    }
    if (reg.type != kRegInput) return in_.Fail(word, "only input registers can be declared in this shader version");
    int32_t nameLength = length;
    while (nameLength > 0 && suffix[nameLength - 1] >= '0' && suffix[nameLength - 1] <= '9') --nameLength;
    if (length - nameLength > 2) return in_.Fail(word, "usage index beyond 15");
    int32_t usageIndex = 0;
    for (int32_t i = nameLength; i < length; ++i) usageIndex = usageIndex * 10 + (suffix[i] - '0');
    if (usageIndex > 15) return in_.Fail(word, "usage index beyond 15");
    for (uint32_t usage = 0; usage < sizeof kUsages / sizeof kUsages[0]; ++usage) {
        if (!Equals(suffix, nameLength, kUsages[usage])) continue;
        token = kDeclarationBit | usage | uint32_t(usageIndex) << 16;
        return kOk;
    }
    return in_.Fail(word, "a vertex input declaration needs a usage such as _position or _texcoord0");
}

}  // namespace zel
