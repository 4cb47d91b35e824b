#include "engine/render/Shader.h"

#include "engine/render/Renderer.h"

namespace zel {

ZEL_DEFINE_RTTI(Shader, Object)

Shader::~Shader() {
    if (Renderer* renderer = BoundRenderer(binding_)) renderer->ReleaseShader(this);
}

void Shader::SetProgram(const String& program) {
    if (Renderer* renderer = BoundRenderer(binding_)) renderer->ReleaseShader(this);
    program_ = program;
}

}  // namespace zel
