#include "engine/render/shader/ShaderEncoder.h"

namespace zel {

uint32_t ShaderEncoder::RegisterBits(const ShaderRegister& reg) {
    // The type is split: its low three bits at 28-30, its high two at 11-12.
    return 0x80000000u | (reg.type & 7u) << 28 | (reg.type & 0x18u) << 8 | (uint32_t(reg.index) & 0x7FFu);
}

void ShaderEncoder::Raw(uint32_t token) {
    if (tokens_->Append(token) != kOk) outOfMemory_ = true;
}

void ShaderEncoder::BeginInstruction(uint32_t opcode, uint32_t control, bool coissue) {
    instructionAt_ = tokens_->Count();
    Raw(opcode | control | (coissue ? 0x40000000u : 0u));
}

void ShaderEncoder::Destination(const ShaderDestination& destination) {
    Raw(RegisterBits(destination.reg) | destination.writeMask << 16 | destination.resultModifier << 20 |
        (destination.shift & 0xFu) << 24);
}

void ShaderEncoder::Source(const ShaderSource& source) {
    Raw(RegisterBits(source.reg) | source.swizzle << 16 | source.modifier << 24 | (source.relative ? 0x2000u : 0u));
    if (source.hasAddressToken) Raw(RegisterBits(source.address) | source.addressSwizzle << 16);
}

void ShaderEncoder::EndInstruction() {
    if (!lengthBits_ || outOfMemory_ || instructionAt_ < 0) return;
    uint32_t length = uint32_t(tokens_->Count() - instructionAt_ - 1);
    (*tokens_)[instructionAt_] |= (length & 0xFu) << 24;
}

}  // namespace zel
