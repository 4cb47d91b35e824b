// Vertex and pixel shaders, assembled from their program text on first
// bind. A program that does not assemble is shown to the user with the
// assembler's message and leaves the stage unbound.
#include "engine/os/Os.h"
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/render/shader/Shader.h"
#include "engine/render/shader/ShaderAssembler.h"

namespace zel {

namespace {

// Assembles `program` into the device's token stream with our own
// assembler (no D3DX at run time).
bool AssembleProgram(const String& program, GrowableArray<uint32_t>& tokens) {
    ShaderAssemblyError error;
    if (ShaderAssembler::Assemble(program.CStr(), program.Length(), tokens, error) == kOk) return true;
    char message[512];
    ShaderAssembler::FormatError(error, message, sizeof(message));
    os::ShowMessageBox(message);
    return false;
}

}  // namespace

IUnknown* D3D9Renderer::PrepareShader(Shader* shader) {
    RendererBinding& binding = shader->GetBinding();
    if (binding.GetHandle() != nullptr) return static_cast<IUnknown*>(binding.GetHandle());
    // A program that did not assemble is shown once, not on every bind,
    // until the shader gets a new text.
    if (binding.GetSpare() == kAssemblyFailed || IsRefused(binding)) return nullptr;
    GrowableArray<uint32_t> tokens(256, 256);
    if (!AssembleProgram(shader->GetProgram(), tokens) || tokens.IsEmpty()) {
        binding.SetSpare(kAssemblyFailed);
        return nullptr;
    }
    IUnknown* handle = nullptr;
    if (shader->ShaderKind() == Shader::kVertexShader) {
        IDirect3DVertexShader9* created = nullptr;
        if (D3DSucceeded(device_->CreateVertexShader(reinterpret_cast<const DWORD*>(tokens.begin()), &created), "CreateVertexShader")) handle = created;
    } else {
        IDirect3DPixelShader9* created = nullptr;
        if (D3DSucceeded(device_->CreatePixelShader(reinterpret_cast<const DWORD*>(tokens.begin()), &created), "CreatePixelShader")) handle = created;
    }
    if (handle != nullptr) Remember(shader, binding, handle);
    else Refuse(shader, binding);
    return handle;
}

void D3D9Renderer::SetVertexShader(Shader* shader) {
    if (device_ == nullptr) return;
    auto* handle = static_cast<IDirect3DVertexShader9*>(shader != nullptr ? PrepareShader(shader) : nullptr);
    D3DSucceeded(device_->SetVertexShader(handle), "SetVertexShader");
}

void D3D9Renderer::SetPixelShader(Shader* shader) {
    if (device_ == nullptr) return;
    auto* handle = static_cast<IDirect3DPixelShader9*>(shader != nullptr ? PrepareShader(shader) : nullptr);
    D3DSucceeded(device_->SetPixelShader(handle), "SetPixelShader");
}

}  // namespace zel
