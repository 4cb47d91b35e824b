// Vertex and index buffers, made on first use in the managed pool and
// uploaded again when dirty (then as dynamic buffers). Without hardware
// vertex processing colours travel packed as ARGB words; without 32-bit
// index support indices travel as 16 bits.
#include <cstring>

#include "engine/core/Buffer.h"
#include "engine/render/d3d9/D3D9Renderer.h"

namespace zel {

namespace {

// Indices up to this count fit the 16-bit index format.
constexpr DWORD kMaxIndex16 = 0x10000;

// Dynamic buffers are written whole and never read back.
constexpr DWORD kDynamicUsage = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY;

}  // namespace

// A buffer written again after its first upload changes while the device may
// still draw from it, and locking a managed buffer then waits for the device
// to finish. Such a buffer moves to a dynamic one, whose discarding lock hands
// out fresh memory at once; so does one that outgrew its device buffer.
bool D3D9Renderer::NeedsDynamicBuffer(Buffer* buffer, UINT size, UINT bytes) {
    RendererBinding& binding = buffer->GetBinding();
    if (binding.GetHandle() == nullptr) return false;
    if (binding.GetSpare() == kDynamicBuffer && size >= bytes) return false;
    Forget(buffer, binding);
    return true;
}

UINT D3D9Renderer::DeviceBufferSize(IDirect3DVertexBuffer9* handle) {
    D3DVERTEXBUFFER_DESC desc{};
    return handle != nullptr && D3DSucceeded(handle->GetDesc(&desc), "GetDesc") ? desc.Size : 0;
}

UINT D3D9Renderer::DeviceBufferSize(IDirect3DIndexBuffer9* handle) {
    D3DINDEXBUFFER_DESC desc{};
    return handle != nullptr && D3DSucceeded(handle->GetDesc(&desc), "GetDesc") ? desc.Size : 0;
}

// The dirty buffer's device buffer: `handle` while it serves, otherwise one
// made by `create` (managed, or dynamic once written again) and remembered.
template <class Handle, class Create>
Handle* D3D9Renderer::MakeDeviceBuffer(Buffer* buffer, Handle* handle, UINT bytes, bool* remade, const char* what,
                                       Create create) {
    const bool dynamic = NeedsDynamicBuffer(buffer, DeviceBufferSize(handle), bytes);
    if (handle != nullptr && !dynamic) return handle;
    RendererBinding& binding = buffer->GetBinding();
    Handle* made = nullptr;
    if (!D3DSucceeded(create(dynamic ? kDynamicUsage : 0, dynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED, &made), what)) {
        Refuse(buffer, binding);
        return nullptr;
    }
    Remember(buffer, binding, made);
    binding.SetSpare(dynamic ? kDynamicBuffer : 0);
    binding.SetDirty(true);
    if (remade != nullptr) *remade = true;
    return made;
}

DWORD D3D9Renderer::LockFlags(Buffer* buffer) {
    return buffer->GetBinding().GetSpare() == kDynamicBuffer ? D3DLOCK_DISCARD : 0;
}

IDirect3DVertexBuffer9* D3D9Renderer::PrepareVertexBuffer(Buffer* buffer, bool packColors, bool* remade) {
    if (device_ == nullptr || buffer == nullptr || buffer->GetData() == nullptr || buffer->GetCount() <= 0)
        return nullptr;
    RendererBinding& binding = buffer->GetBinding();
    auto* handle = static_cast<IDirect3DVertexBuffer9*>(binding.GetHandle());
    if (IsRefused(binding)) return nullptr;
    if (handle != nullptr && !binding.IsDirty()) return handle;
    const UINT bytes = packColors ? static_cast<UINT>(buffer->GetCount()) * sizeof(D3DCOLOR)
                                  : static_cast<UINT>(buffer->GetDataSize());
    handle = MakeDeviceBuffer(buffer, handle, bytes, remade, "CreateVertexBuffer",
                              [&](DWORD usage, D3DPOOL pool, IDirect3DVertexBuffer9** made) {
                                  return device_->CreateVertexBuffer(bytes, usage, 0, pool, made, nullptr);
                              });
    if (handle != nullptr) UploadVertices(buffer, handle, packColors);
    return handle;
}

bool D3D9Renderer::UploadVertices(Buffer* buffer, IDirect3DVertexBuffer9* handle, bool packColors) {
    void* target = nullptr;
    if (!D3DSucceeded(handle->Lock(0, 0, &target, LockFlags(buffer)), "Lock")) return false;
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

IDirect3DIndexBuffer9* D3D9Renderer::PrepareIndexBuffer(IntBuffer* buffer, bool* remade) {
    if (device_ == nullptr || buffer == nullptr || buffer->GetData() == nullptr || buffer->GetCount() <= 0)
        return nullptr;
    RendererBinding& binding = buffer->GetBinding();
    auto* handle = static_cast<IDirect3DIndexBuffer9*>(binding.GetHandle());
    if (IsRefused(binding)) return nullptr;
    if (handle != nullptr && !binding.IsDirty()) return handle;
    const bool wide = maxVertexIndex_ > kMaxIndex16;
    const UINT bytes = static_cast<UINT>(buffer->GetCount()) * (wide ? 4u : 2u);
    const D3DFORMAT format = wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16;
    handle = MakeDeviceBuffer(buffer, handle, bytes, remade, "CreateIndexBuffer",
                              [&](DWORD usage, D3DPOOL pool, IDirect3DIndexBuffer9** made) {
                                  return device_->CreateIndexBuffer(bytes, usage, format, pool, made, nullptr);
                              });
    if (handle != nullptr) UploadIndices(buffer, handle);
    return handle;
}

bool D3D9Renderer::UploadIndices(IntBuffer* buffer, IDirect3DIndexBuffer9* handle) {
    D3DINDEXBUFFER_DESC desc{};
    void* target = nullptr;
    if (!D3DSucceeded(handle->GetDesc(&desc), "GetDesc") ||
        !D3DSucceeded(handle->Lock(0, 0, &target, LockFlags(buffer)), "Lock"))
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
