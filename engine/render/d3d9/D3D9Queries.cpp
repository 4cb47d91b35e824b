// Occlusion queries, read one use late: End only issues the query, and the
// next Begin on the same query takes its count once the device has it.
// Nothing waits for the rasterizer, so the CPU's next frame overlaps the
// device's last; a query still counting leaves that use unmeasured.
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

bool D3D9Renderer::CollectQuery(OcclusionQuery* query, IDirect3DQuery9* handle) {
    RendererBinding& binding = query->GetBinding();
    if (binding.GetSpare() != kQueryIssued) return true;
    // S_FALSE means "not yet", an answer rather than an error; the flush
    // makes sure the device gets to the query at all.
    DWORD pixels = 0;
    const HRESULT result = handle->GetData(&pixels, sizeof(pixels), D3DGETDATA_FLUSH);
    if (result == S_FALSE) return false;
    const bool counted = result == S_OK || D3DSucceeded(result, "GetData");
    query->SetVisiblePixels(counted ? static_cast<int32_t>(pixels) : 0);
    binding.SetSpare(0);
    return true;
}

void D3D9Renderer::BeginOcclusionQuery(OcclusionQuery* query) {
    if (query == nullptr || device_ == nullptr) return;
    IDirect3DQuery9* handle = PrepareQuery(query);
    if (handle == nullptr) {
        query->SetVisiblePixels(0);
        return;
    }
    if (!CollectQuery(query, handle)) return;
    if (D3DSucceeded(handle->Issue(D3DISSUE_BEGIN), "Issue")) query->GetBinding().SetSpare(kQueryOpen);
}

void D3D9Renderer::EndOcclusionQuery(OcclusionQuery* query) {
    if (query == nullptr || device_ == nullptr) return;
    auto* handle = static_cast<IDirect3DQuery9*>(query->GetBinding().GetHandle());
    if (handle == nullptr || query->GetBinding().GetSpare() != kQueryOpen) return;
    const bool issued = D3DSucceeded(handle->Issue(D3DISSUE_END), "Issue");
    query->GetBinding().SetSpare(issued ? kQueryIssued : 0);
}

}  // namespace zel
