#include "engine/render/shader/Shader.h"

#include "engine/render/Renderer.h"

namespace zel {

ZEL_DEFINE_RTTI(Shader, Object)

Shader::~Shader() {
    if (Renderer* renderer = BoundRenderer(binding_)) renderer->ReleaseShader(this);
}

void Shader::SetProgram(const String& program) {
    // A new text is assembled anew, also after an earlier text failed.
    if (Renderer* renderer = BoundRenderer(binding_)) renderer->ReleaseShader(this);
    else binding_.Clear();
    program_ = program;
}

}  // namespace zel
