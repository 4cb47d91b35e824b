#include "support/ShaderProgramRunner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/core/GrowableArray.h"
#include "engine/render/shader/ShaderAssembler.h"

namespace zel::test {

namespace {

// Register files, as the tokens code them.
constexpr uint32_t kTemp = 0;
constexpr uint32_t kInput = 1;
constexpr uint32_t kConstant = 2;
constexpr uint32_t kAddress = 3;
constexpr uint32_t kRasterOut = 4;
constexpr uint32_t kColorOut = 5;
constexpr uint32_t kTexCoordOut = 6;
constexpr uint32_t kPixelOut = 8;
constexpr uint32_t kSampler = 10;

constexpr uint32_t kParameterBit = 0x80000000u;
constexpr uint32_t kRelativeBit = 1u << 13;
constexpr uint32_t kEnd = 0x0000FFFFu;
constexpr uint32_t kDcl = 31;
constexpr uint32_t kDef = 81;

uint32_t FileOf(uint32_t token) { return ((token >> 28) & 7u) | ((token >> 8) & 0x18u); }
uint32_t NumberOf(uint32_t token) { return token & 0x7FFu; }

using Value = ShaderProgramRunner::Value;

float Dot(const Value& a, const Value& b, int count) {
    float sum = 0.0f;
    for (int i = 0; i < count; ++i) sum += a[i] * b[i];
    return sum;
}

Value Splat(float x) { return {x, x, x, x}; }

}  // namespace

bool ShaderProgramRunner::Load(const char* text) {
    GrowableArray<uint32_t> tokens;
    ShaderAssemblyError error;
    if (ShaderAssembler::Assemble(text, int32_t(std::strlen(text)), tokens, error) != 0) {
        ADD_FAILURE() << "line " << error.line << ": " << error.message;
        return false;
    }
    tokens_.assign(tokens.begin(), tokens.end());
    major_ = int32_t((tokens_[0] >> 8) & 0xFF);
    pixel_ = (tokens_[0] >> 16) == 0xFFFF;
    for (size_t i = 1; i < tokens_.size() && tokens_[i] != kEnd; ++i) {
        if ((tokens_[i] & 0xFFFF) != kDef || (tokens_[i] & kParameterBit) != 0) continue;
        Value& c = constants[NumberOf(tokens_[i + 1])];
        for (int k = 0; k < 4; ++k) std::memcpy(&c[k], &tokens_[i + 2 + k], 4);
        i += 5;
    }
    return true;
}

bool ShaderProgramRunner::Run() {
    for (int32_t n = 0; n < 8; ++n) textures_[n] = pixelTexCoords[n];
    size_t i = 1;
    while (i < tokens_.size() && tokens_[i] != kEnd) {
        const uint32_t opcode = tokens_[i] & 0xFFFF;
        size_t next = i + 1;
        if (opcode == kDef) {
            i += 6;
            continue;
        }
        std::vector<uint32_t> parameters;
        while (next < tokens_.size() && (tokens_[next] & kParameterBit) != 0) parameters.push_back(tokens_[next++]);
        i = next;
        if (opcode == kDcl || parameters.empty()) continue;
        std::vector<Source> sources;
        for (size_t p = 1; p < parameters.size(); ++p) {
            Source source{parameters[p], 0};
            if (major_ >= 2 && (source.token & kRelativeBit) != 0) source.address = parameters[++p];
            sources.push_back(source);
        }
        if (!Execute(opcode, parameters[0], sources)) return false;
    }
    if (pixel_ && major_ == 1) color = temps_[0];
    return true;
}

ShaderProgramRunner::Value ShaderProgramRunner::Read(const Source& source, int32_t offset) const {
    const uint32_t token = source.token;
    int32_t index = int32_t(NumberOf(token)) + offset;
    if ((token & kRelativeBit) != 0) {
        const uint32_t component = major_ >= 2 ? (source.address >> 16) & 3u : 0u;
        index += int32_t(address_[component]);
    }
    Value raw{};
    switch (FileOf(token)) {
        case kTemp: raw = temps_[index]; break;
        case kInput: raw = inputs[index]; break;
        case kConstant: raw = constants[index]; break;
        case kAddress: raw = pixel_ ? textures_[index] : address_; break;
        case kSampler: raw = {float(index), 0, 0, 0}; break;
        default: ADD_FAILURE() << "register file " << FileOf(token) << " cannot be read"; break;
    }
    Value value;
    for (int k = 0; k < 4; ++k) value[k] = raw[(token >> (16 + 2 * k)) & 3u];
    if (((token >> 24) & 0xF) == 1)
        for (float& x : value) x = -x;
    return value;
}

void ShaderProgramRunner::Write(uint32_t token, const Value& value) {
    Value* target = nullptr;
    switch (FileOf(token)) {
        case kTemp: target = &temps_[NumberOf(token)]; break;
        case kAddress: target = pixel_ ? &textures_[NumberOf(token)] : &address_; break;
        case kPixelOut: target = &color; break;
        case kColorOut: target = &colors[NumberOf(token)]; break;
        case kTexCoordOut: target = &texCoords[NumberOf(token)]; break;
        case kRasterOut:
            if (NumberOf(token) == 1) {
                fog = value[0];
                return;
            }
            target = &position;
            break;
        default: ADD_FAILURE() << "register file " << FileOf(token) << " cannot be written"; return;
    }
    const bool saturate = ((token >> 20) & 1u) != 0;
    for (int k = 0; k < 4; ++k)
        if ((token >> (16 + k)) & 1u) (*target)[k] = saturate ? std::fmin(1.0f, std::fmax(0.0f, value[k])) : value[k];
}

bool ShaderProgramRunner::Execute(uint32_t opcode, uint32_t destination, const std::vector<Source>& sources) {
    auto s = [&](size_t n) { return Read(sources[n]); };
    Value r{};
    switch (opcode) {
        case 1: r = s(0); break;
        case 2: for (int k = 0; k < 4; ++k) r[k] = s(0)[k] + s(1)[k]; break;
        case 3: for (int k = 0; k < 4; ++k) r[k] = s(0)[k] - s(1)[k]; break;
        case 4: for (int k = 0; k < 4; ++k) r[k] = s(0)[k] * s(1)[k] + s(2)[k]; break;
        case 5: for (int k = 0; k < 4; ++k) r[k] = s(0)[k] * s(1)[k]; break;
        case 6: r = Splat(1.0f / s(0)[0]); break;
        case 7: r = Splat(1.0f / std::sqrt(std::fabs(s(0)[0]))); break;
        case 8: r = Splat(Dot(s(0), s(1), 3)); break;
        case 9: r = Splat(Dot(s(0), s(1), 4)); break;
        case 10: for (int k = 0; k < 4; ++k) r[k] = std::fmin(s(0)[k], s(1)[k]); break;
        case 11: for (int k = 0; k < 4; ++k) r[k] = std::fmax(s(0)[k], s(1)[k]); break;
        case 14: r = Splat(std::exp2(s(0)[0])); break;
        case 15: r = Splat(std::log2(std::fabs(s(0)[0]))); break;
        case 16: {  // lit
            const Value v = s(0);
            const float power = std::fmax(-128.0f, std::fmin(128.0f, v[3]));
            r = {1.0f, std::fmax(v[0], 0.0f), v[0] > 0.0f ? std::pow(std::fmax(v[1], 0.0f), power) : 0.0f, 1.0f};
            break;
        }
        case 18: for (int k = 0; k < 4; ++k) r[k] = s(0)[k] * (s(1)[k] - s(2)[k]) + s(2)[k]; break;
        case 19: for (int k = 0; k < 4; ++k) r[k] = s(0)[k] - std::floor(s(0)[k]); break;
        case 20:  // m4x4: rows of the matrix are the four registers from src1
            for (int k = 0; k < 4; ++k) r[k] = Dot(s(0), Read(sources[1], k), 4);
            break;
        case 33: {  // crs
            const Value a = s(0), b = s(1);
            r = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0], 0.0f};
            break;
        }
        case 32: r = Splat(std::pow(std::fabs(s(0)[0]), s(1)[0])); break;
        case 36: {  // nrm
            const Value v = s(0);
            const float scale = 1.0f / std::sqrt(Dot(v, v, 3));
            for (int k = 0; k < 4; ++k) r[k] = v[k] * scale;
            break;
        }
        case 46: for (int k = 0; k < 4; ++k) r[k] = std::round(s(0)[k]); break;
        case 66:  // tex t# (1.x: its own coordinates) or texld r#, coordinate, s#
            if (!sample) {
                ADD_FAILURE() << "no sampler";
                return false;
            }
            r = sources.empty() ? sample(int32_t(NumberOf(destination)), pixelTexCoords[NumberOf(destination)])
                                : sample(int32_t(s(1)[0]), s(0));
            break;
        case 88: for (int k = 0; k < 4; ++k) r[k] = s(0)[k] >= 0.0f ? s(1)[k] : s(2)[k]; break;
        default: ADD_FAILURE() << "opcode " << opcode << " is not run here"; return false;
    }
    Write(destination, r);
    return true;
}

}  // namespace zel::test
