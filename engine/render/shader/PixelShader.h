// A pixel program ("ps.1.1", "ps_2_0" texts), bound with SetPixelShader.
#pragma once

#include "engine/render/shader/Shader.h"

namespace zel {

class PixelShader : public Shader {
    ZEL_DECLARE_RTTI

public:
    explicit PixelShader(const String& program = String()) : Shader(program) {}
    int32_t ShaderKind() const override { return kPixelShader; }
};
ZEL_REGISTER_CLASS(PixelShader)

}  // namespace zel
