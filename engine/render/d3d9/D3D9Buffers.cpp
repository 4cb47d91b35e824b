// Vertex and index buffers in the managed pool, made on first use and
// uploaded again when dirty. Without hardware vertex processing colours
// travel packed as ARGB words; without 32-bit index support indices travel
// as 16 bits.
#include <cstring>

#include "engine/core/Buffer.h"
#include "engine/render/d3d9/D3D9Renderer.h"

namespace zel {

namespace {

// Indices up to this count fit the 16-bit index format.
constexpr DWORD kMaxIndex16 = 0x10000;

}  // namespace

IDirect3DVertexBuffer9* D3D9Renderer::PrepareVertexBuffer(Buffer* buffer, bool packColors) {
    if (device_ == nullptr || buffer == nullptr || buffer->GetData() == nullptr || buffer->GetCount() <= 0)
        return nullptr;
    RendererBinding& binding = buffer->GetBinding();
    auto* handle = static_cast<IDirect3DVertexBuffer9*>(binding.GetHandle());
    if (IsRefused(binding)) return nullptr;
    if (handle == nullptr) {
        const UINT bytes = packColors ? static_cast<UINT>(buffer->GetCount()) * sizeof(D3DCOLOR)
                                      : static_cast<UINT>(buffer->GetDataSize());
        if (!D3DSucceeded(device_->CreateVertexBuffer(bytes, 0, 0, D3DPOOL_MANAGED, &handle, nullptr),
                          "CreateVertexBuffer")) {
            Refuse(buffer, binding);
            return nullptr;
        }
        Remember(buffer, binding, handle);
        binding.SetDirty(true);
    }
    if (binding.IsDirty()) UploadVertices(buffer, handle, packColors);
    return handle;
}

bool D3D9Renderer::UploadVertices(Buffer* buffer, IDirect3DVertexBuffer9* handle, bool packColors) {
    void* target = nullptr;
    if (!D3DSucceeded(handle->Lock(0, 0, &target, 0), "Lock")) return false;
    if (packColors) {
        const auto* colors = static_cast<const ColorRGBA*>(buffer->GetData());
        auto* packed = static_cast<D3DCOLOR*>(target);
        for (int32_t i = 0; i < buffer->GetCount(); ++i) packed[i] = PackColor(colors[i]);
    } else {
        std::memcpy(target, buffer->GetData(), static_cast<size_t>(buffer->GetDataSize()));
    }
    if (!D3DSucceeded(handle->Unlock(), "Unlock")) return false;
    buffer->GetBinding().SetDirty(false);
    return true;
}

IDirect3DIndexBuffer9* D3D9Renderer::PrepareIndexBuffer(IntBuffer* buffer) {
    if (device_ == nullptr || buffer == nullptr || buffer->GetData() == nullptr || buffer->GetCount() <= 0)
        return nullptr;
    RendererBinding& binding = buffer->GetBinding();
    auto* handle = static_cast<IDirect3DIndexBuffer9*>(binding.GetHandle());
    if (IsRefused(binding)) return nullptr;
    if (handle == nullptr) {
        const bool wide = maxVertexIndex_ > kMaxIndex16;
        const UINT bytes = static_cast<UINT>(buffer->GetCount()) * (wide ? 4u : 2u);
        if (!D3DSucceeded(device_->CreateIndexBuffer(bytes, 0, wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16,
                                                     D3DPOOL_MANAGED, &handle, nullptr),
                          "CreateIndexBuffer")) {
            Refuse(buffer, binding);
            return nullptr;
        }
        Remember(buffer, binding, handle);
        binding.SetDirty(true);
    }
    if (binding.IsDirty()) UploadIndices(buffer, handle);
    return handle;
}

bool D3D9Renderer::UploadIndices(IntBuffer* buffer, IDirect3DIndexBuffer9* handle) {
    D3DINDEXBUFFER_DESC desc{};
    void* target = nullptr;
    if (!D3DSucceeded(handle->GetDesc(&desc), "GetDesc") || !D3DSucceeded(handle->Lock(0, 0, &target, 0), "Lock"))
        return false;
    if (desc.Format == D3DFMT_INDEX32) {
        std::memcpy(target, buffer->GetData(), static_cast<size_t>(buffer->GetDataSize()));
    } else {
        auto* narrow = static_cast<uint16_t*>(target);
        for (int32_t i = 0; i < buffer->GetCount(); ++i) narrow[i] = static_cast<uint16_t>((*buffer)[i]);
    }
    if (!D3DSucceeded(handle->Unlock(), "Unlock")) return false;
    buffer->GetBinding().SetDirty(false);
    return true;
}

}  // namespace zel
