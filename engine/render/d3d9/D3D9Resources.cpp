// The resource map: every device object made for an engine object, by the
// object's ID, so that a lost or destroyed device releases all of them.
#include "engine/core/Buffer.h"
#include "engine/render/OcclusionQuery.h"
#include "engine/render/Pass.h"
#include "engine/render/RenderStateBlock.h"
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/render/shader/Shader.h"
#include "engine/render/texture/BaseTexture.h"

namespace zel {

void D3D9Renderer::Remember(Object* owner, RendererBinding& binding, IUnknown* handle) {
    binding.SetHandle(handle, this);
    resources_.Remove(owner->GetId());
    resources_.Insert(owner->GetId(), &binding);
}

void D3D9Renderer::Refuse(Object* owner, RendererBinding& binding) {
    Remember(owner, binding, nullptr);
    binding.SetSpare(kDeviceRefused);
}

void D3D9Renderer::Forget(Object* owner, RendererBinding& binding) {
    // Clearing drops the binding's reference to this renderer, possibly
    // the last one; the caller's object keeps its ID in the map until then.
    IUnknown* handle = static_cast<IUnknown*>(binding.GetHandle());
    resources_.Remove(owner->GetId());
    ReleaseCom(handle);
    binding.Clear();
}

// The device lets go of our objects first: the original targets come back
// and no stage keeps a texture, since a bound texture outlives its release
// inside the device, together with the depth surface it carries.
void D3D9Renderer::ReleaseAll() {
    AbandonRecording();
    ReleaseCom(frameEnd_);
    frameEndRefused_ = false;
    declaration_ = nullptr;
    while (!targets_.IsEmpty()) PopTarget();
    if (device_ != nullptr && resources_.Count() > 0)
        for (DWORD stage = 0; stage < kSamplerStages; ++stage)
            D3DSucceeded(device_->SetTexture(stage, nullptr), "SetTexture");
    if (resources_.Count() == 0) return;
    // The bindings hold this renderer; it must outlive their clearing.
    Pointer<D3D9Renderer> self(GetReferenceCount() > 0 ? this : nullptr);
    resources_.ForEach([](int32_t, RendererBinding* binding) {
        IUnknown* handle = static_cast<IUnknown*>(binding->GetHandle());
        ReleaseCom(handle);
        binding->Clear();
        return true;
    });
    resources_.Clear();
}

void D3D9Renderer::ReleaseBuffer(Buffer* buffer) {
    if (buffer != nullptr) Forget(buffer, buffer->GetBinding());
}

void D3D9Renderer::ReleaseTexture(BaseTexture* texture) {
    if (texture != nullptr) Forget(texture, texture->GetBinding());
}

void D3D9Renderer::ReleaseShader(Shader* shader) {
    if (shader != nullptr) Forget(shader, shader->GetBinding());
}

void D3D9Renderer::ReleaseOcclusionQuery(OcclusionQuery* query) {
    if (query != nullptr) Forget(query, query->GetBinding());
}

void D3D9Renderer::ReleaseRenderStateBlock(RenderStateBlock* block) {
    if (block != nullptr) Forget(block, block->GetBinding());
}

// The pass's recording lives in its render state block's binding, its
// vertex declaration in its own.
void D3D9Renderer::ReleasePass(Pass* pass) {
    if (pass == nullptr) return;
    Pointer<D3D9Renderer> self(GetReferenceCount() > 0 ? this : nullptr);
    ReleaseRenderStateBlock(pass->GetRenderStateBlock());
    Forget(pass, pass->GetBinding());
}

}  // namespace zel
