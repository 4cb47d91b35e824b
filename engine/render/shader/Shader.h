// A shader program held as its complete assembly text (version line
// included); the renderer assembles it on first bind and keeps the device
// shader in the binding. Built by code, not streamed beyond Object's part.
#pragma once

#include <new>

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/core/RendererBinding.h"

namespace zel {

class Shader : public Object {
    ZEL_DECLARE_RTTI

public:
    static constexpr int32_t kVertexShader = 0;
    static constexpr int32_t kPixelShader = 1;

    explicit Shader(const String& program = String()) : program_(program) {}
    // Asks the renderer holding the device shader to release it.
    ~Shader() override;

    // 0 vertex shader, 1 pixel shader.
    virtual int32_t ShaderKind() const = 0;

    const String& GetProgram() const { return program_; }
    // Replaces the text and releases the device shader made from the old
    // one, so the next bind assembles the new text.
    void SetProgram(const String& program);

    RendererBinding& GetBinding() { return binding_; }

private:
    RendererBinding binding_;
    String program_;
};
ZEL_REGISTER_ABSTRACT_CLASS(Shader)

// A program of kind S (VertexShader, PixelShader) over `text`, named `name`
// so that logs and recordings tell programs apart; null when allocation
// fails.
template <class S>
S* MakeShader(const char* text, const char* name) {
    S* shader = new (std::nothrow) S(String(text));
    if (shader != nullptr) shader->SetName(String(name));
    return shader;
}

}  // namespace zel
