// Occlusion queries: the device query is made on first use; the wait for
// its count is bounded, so a lost or hung device cannot freeze the saver.
#include "engine/render/OcclusionQuery.h"
#include "engine/render/d3d9/D3D9Renderer.h"

namespace zel {

IDirect3DQuery9* D3D9Renderer::PrepareQuery(OcclusionQuery* query) {
    RendererBinding& binding = query->GetBinding();
    auto* handle = static_cast<IDirect3DQuery9*>(binding.GetHandle());
    if (handle != nullptr || IsRefused(binding)) return handle;
    if (!D3DSucceeded(device_->CreateQuery(D3DQUERYTYPE_OCCLUSION, &handle), "CreateQuery")) {
        Refuse(query, binding);
        return nullptr;
    }
    Remember(query, binding, handle);
    return handle;
}

void D3D9Renderer::BeginOcclusionQuery(OcclusionQuery* query) {
    if (query == nullptr || device_ == nullptr) return;
    IDirect3DQuery9* handle = PrepareQuery(query);
    if (handle == nullptr) {
        query->SetVisiblePixels(0);
        return;
    }
    D3DSucceeded(handle->Issue(D3DISSUE_BEGIN), "Issue");
}

void D3D9Renderer::EndOcclusionQuery(OcclusionQuery* query) {
    if (query == nullptr || device_ == nullptr) return;
    IDirect3DQuery9* handle = PrepareQuery(query);
    if (handle == nullptr) {
        query->SetVisiblePixels(0);
        return;
    }
    if (!D3DSucceeded(handle->Issue(D3DISSUE_END), "Issue")) {
        query->SetVisiblePixels(0);
        return;
    }
    // S_FALSE means "not yet", an answer rather than an error.
    DWORD pixels = 0;
    HRESULT result = S_FALSE;
    const DWORD start = GetTickCount();
    while ((result = handle->GetData(&pixels, sizeof(pixels), D3DGETDATA_FLUSH)) == S_FALSE &&
           GetTickCount() - start < kQueryWaitMilliseconds) {
    }
    const bool counted = result == S_OK || (result != S_FALSE && D3DSucceeded(result, "GetData"));
    query->SetVisiblePixels(counted ? static_cast<int32_t>(pixels) : 0);
}

}  // namespace zel
