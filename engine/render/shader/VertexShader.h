// A vertex program ("vs_1_1", "vs_2_0" texts), bound with SetVertexShader.
#pragma once

#include "engine/render/shader/Shader.h"

namespace zel {

class VertexShader : public Shader {
    ZEL_DECLARE_RTTI

public:
    explicit VertexShader(const String& program = String()) : Shader(program) {}
    int32_t ShaderKind() const override { return kVertexShader; }
};
ZEL_REGISTER_CLASS(VertexShader)

}  // namespace zel
