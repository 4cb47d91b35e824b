// Passes, streams and draws. The first draw of a pass records its whole
// set-up (render states, texture and shader resets, stream bindings) into a
// device state block and turns the stream setters' elements into a vertex
// declaration; later draws of the pass apply the state block with one call
// and the stream setters only re-upload buffers whose data changed.
#include "engine/core/Buffer.h"
#include "engine/render/Pass.h"
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

namespace {

// Stages whose textures a recording unbinds; stage 7 keeps what it has.
constexpr DWORD kResetStages = 7;

// The element type and stride of a coordinate buffer; false for other
// buffer classes.
bool CoordinateLayout(const Buffer* buffer, D3DDECLTYPE& type, UINT& stride) {
    if (buffer == nullptr) return false;
    if (buffer->IsDerivedFrom(FloatBuffer::TYPE)) {
        type = D3DDECLTYPE_FLOAT1;
        stride = 4;
    } else if (buffer->IsDerivedFrom(Vector2Buffer::TYPE)) {
        type = D3DDECLTYPE_FLOAT2;
        stride = 8;
    } else if (buffer->IsDerivedFrom(Vector3Buffer::TYPE)) {
        type = D3DDECLTYPE_FLOAT3;
        stride = 12;
    } else if (buffer->IsDerivedFrom(Vector4Buffer::TYPE)) {
        type = D3DDECLTYPE_FLOAT4;
        stride = 16;
    } else {
        return false;
    }
    return true;
}

// The device primitive of a geometry kind; false for kinds that draw
// nothing.
bool PrimitiveTypeOf(int32_t kind, D3DPRIMITIVETYPE& type) {
    switch (kind) {
    case GeometryNode::kPoints: type = D3DPT_POINTLIST; return true;
    case GeometryNode::kLineList: type = D3DPT_LINELIST; return true;
    case GeometryNode::kLineStrip: type = D3DPT_LINESTRIP; return true;
    case GeometryNode::kTriangleList: type = D3DPT_TRIANGLELIST; return true;
    case GeometryNode::kTriangleStrip: type = D3DPT_TRIANGLESTRIP; return true;
    default: return false;
    }
}

// The primitives `indexCount` indices of a geometry kind make; false when
// the kind draws nothing or the indices make no whole primitive.
bool IndexedPrimitivesOf(int32_t kind, int32_t indexCount, D3DPRIMITIVETYPE& type, UINT& count) {
    if (!PrimitiveTypeOf(kind, type)) return false;
    int32_t primitives = indexCount;
    switch (type) {
    case D3DPT_LINELIST: primitives = indexCount / 2; break;
    case D3DPT_LINESTRIP: primitives = indexCount - 1; break;
    case D3DPT_TRIANGLELIST: primitives = indexCount / 3; break;
    case D3DPT_TRIANGLESTRIP: primitives = indexCount - 2; break;
    default: break;
    }
    if (primitives <= 0) return false;
    count = static_cast<UINT>(primitives);
    return true;
}

}  // namespace

// A replayed recording binds the device buffers it was recorded with; one
// remade since (grown, or moved to a dynamic buffer) is bound over it and
// the pass is recorded again at its next draw.
void D3D9Renderer::AddStream(Buffer* buffer, D3DDECLTYPE type, D3DDECLUSAGE usage, BYTE usageIndex, UINT stride,
                             bool packColors) {
    bool remade = false;
    IDirect3DVertexBuffer9* handle = buffer != nullptr ? PrepareVertexBuffer(buffer, packColors, &remade) : nullptr;
    if (device_ == nullptr) return;
    if (declaration_ != nullptr) {
        const WORD stream = replayedStreams_++;
        if (remade && handle != nullptr && stream < kMaxVertexElements) RebindForReplay(stream, handle, stride);
        return;
    }
    if (elementCount_ >= kMaxVertexElements) return;
    const WORD stream = static_cast<WORD>(elementCount_);
    elements_[elementCount_++] = D3DVERTEXELEMENT9{stream, 0, static_cast<BYTE>(type), D3DDECLMETHOD_DEFAULT,
                                                   static_cast<BYTE>(usage), usageIndex};
    if (handle != nullptr) D3DSucceeded(device_->SetStreamSource(stream, handle, 0, stride), "SetStreamSource");
}

// A missing position buffer still gets its element, so the layout keeps
// position first; other missing buffers add nothing.
void D3D9Renderer::SetPositionBuffer(Buffer* buffer) {
    D3DDECLTYPE type = D3DDECLTYPE_FLOAT3;
    UINT stride = 0;
    if (buffer != nullptr && !CoordinateLayout(buffer, type, stride)) return;
    AddStream(buffer, type, D3DDECLUSAGE_POSITION, 0, stride);
}

void D3D9Renderer::SetTexCoordBuffer(Buffer* buffer, uint8_t set) {
    D3DDECLTYPE type;
    UINT stride;
    if (CoordinateLayout(buffer, type, stride)) AddStream(buffer, type, D3DDECLUSAGE_TEXCOORD, set, stride);
}

// Without hardware vertex processing colours travel as packed words.
void D3D9Renderer::SetColorBuffer(ColorBuffer* buffer) {
    if (buffer == nullptr) return;
    const bool packed = !hardwareVertexProcessing_;
    const bool recording = device_ != nullptr && declaration_ == nullptr;
    AddStream(buffer, packed ? D3DDECLTYPE_D3DCOLOR : D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_COLOR, 0, packed ? 4 : 16,
              packed);
    if (!recording) return;
    D3DSucceeded(device_->SetRenderState(D3DRS_COLORVERTEX, TRUE), "SetRenderState");
    D3DSucceeded(device_->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL), "SetRenderState");
}

void D3D9Renderer::SetPointSizeBuffer(FloatBuffer* buffer) {
    if (buffer != nullptr) AddStream(buffer, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE, 0, 4);
}

void D3D9Renderer::SetNormalBuffer(Vector3Buffer* buffer) {
    if (buffer != nullptr) AddStream(buffer, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0, 12);
}

void D3D9Renderer::SetBlendWeightBuffer(Vector4Buffer* buffer) {
    if (buffer != nullptr) AddStream(buffer, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_BLENDWEIGHT, 0, 16);
}

void D3D9Renderer::SetBlendIndexBuffer(Vector4Buffer* buffer) {
    if (buffer != nullptr) AddStream(buffer, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_BLENDINDICES, 0, 16);
}

void D3D9Renderer::RebindForReplay(WORD stream, IDirect3DVertexBuffer9* handle, UINT stride) {
    D3DSucceeded(device_->SetStreamSource(stream, handle, 0, stride), "SetStreamSource");
    if (Pass* pass = GetCurrentPass()) pass->GetBinding().SetDirty(true);
}

void D3D9Renderer::SetIndexBuffer(IntBuffer* buffer) {
    bool remade = false;
    IDirect3DIndexBuffer9* handle = PrepareIndexBuffer(buffer, &remade);
    if (device_ == nullptr || handle == nullptr || (declaration_ != nullptr && !remade)) return;
    D3DSucceeded(device_->SetIndices(handle), "SetIndices");
    if (declaration_ == nullptr) return;
    if (Pass* pass = GetCurrentPass()) pass->GetBinding().SetDirty(true);
}

// A dirty pass is recorded anew; so is a pass whose recording is missing
// half of itself (a declaration without a state block or the reverse).
void D3D9Renderer::BeginPass(Pass* pass) {
    AbandonRecording();
    SetCurrentPass(pass);
    declaration_ = nullptr;
    replayedStreams_ = 0;
    if (device_ == nullptr || pass == nullptr) return;
    RenderStateBlock* states = pass->GetRenderStateBlock();
    const bool hasStates = states != nullptr && states->GetBinding().GetHandle() != nullptr;
    auto* declaration = static_cast<IDirect3DVertexDeclaration9*>(pass->GetBinding().GetHandle());
    if (declaration != nullptr && hasStates && !pass->GetBinding().IsDirty())
        declaration_ = declaration;
    else if (declaration != nullptr || hasStates)
        ReleasePass(pass);
    ApplyRenderStateBlock(states);
    if (declaration_ != nullptr) return;
    for (DWORD stage = 0; stage < kResetStages; ++stage)
        D3DSucceeded(device_->SetTexture(stage, nullptr), "SetTexture");
    D3DSucceeded(device_->SetVertexShader(nullptr), "SetVertexShader");
    D3DSucceeded(device_->SetPixelShader(nullptr), "SetPixelShader");
}

bool D3D9Renderer::FinishRecording() {
    IDirect3DStateBlock9* block = nullptr;
    if (recording_) {
        recording_ = false;
        if (!D3DSucceeded(device_->EndStateBlock(&block), "EndStateBlock")) block = nullptr;
    }
    Pass* pass = GetCurrentPass();
    RenderStateBlock* states = pass != nullptr ? pass->GetRenderStateBlock() : nullptr;
    if (block != nullptr && states != nullptr) Remember(states, states->GetBinding(), block);
    // A pass that bound no streams has no layout of its own: the device
    // keeps the declaration it has.
    IDirect3DVertexDeclaration9* declaration = nullptr;
    elements_[elementCount_] = D3DDECL_END();
    if (pass != nullptr && elementCount_ > 0 &&
        D3DSucceeded(device_->CreateVertexDeclaration(elements_, &declaration), "CreateVertexDeclaration")) {
        Remember(pass, pass->GetBinding(), declaration);
        pass->GetBinding().SetDirty(false);
    }
    declaration_ = declaration;
    if (block != nullptr) D3DSucceeded(block->Apply(), "Apply");
    if (states == nullptr) ReleaseCom(block);
    return declaration_ != nullptr;
}

void D3D9Renderer::AbandonRecording() {
    if (!recording_) return;
    recording_ = false;
    IDirect3DStateBlock9* block = nullptr;
    if (D3DSucceeded(device_->EndStateBlock(&block), "EndStateBlock")) ReleaseCom(block);
}

bool D3D9Renderer::PrepareDraw() {
    if (device_ == nullptr) return false;
    if (declaration_ == nullptr && !FinishRecording()) return false;
    D3DSucceeded(device_->SetVertexDeclaration(declaration_), "SetVertexDeclaration");
    ApplyMirrorCulling();
    return true;
}

// A mirrored view reverses the winding, so the culled face swaps.
void D3D9Renderer::ApplyMirrorCulling() {
    Pass* pass = GetCurrentPass();
    const RenderStateBlock* states = pass != nullptr ? pass->GetRenderStateBlock() : nullptr;
    if (!IsMirrored() || states == nullptr || !states->cullEnable) return;
    const DWORD cull = states->cullFace == RenderStateBlock::kCullFront ? D3DCULL_CCW : D3DCULL_CW;
    D3DSucceeded(device_->SetRenderState(D3DRS_CULLMODE, cull), "SetRenderState");
}

// The primitive kind of the current geometry node; triangles without one.
int32_t D3D9Renderer::CurrentPrimitiveKind() const {
    const GeometryNode* node = GetCurrentGeometry();
    return node != nullptr ? node->GetPrimitiveType() : GeometryNode::kTriangleList;
}

void D3D9Renderer::DrawIndexed() {
    GeometryNode* node = GetCurrentGeometry();
    if (node == nullptr || !PrepareDraw()) return;
    D3DPRIMITIVETYPE type;
    UINT count;
    if (!IndexedPrimitivesOf(node->GetPrimitiveType(), node->GetIndexCount(), type, count)) return;
    const UINT vertices = node->GetVertices() != nullptr ? static_cast<UINT>(node->GetVertices()->GetCount()) : 0;
    D3DSucceeded(device_->DrawIndexedPrimitive(type, 0, 0, vertices, 0, count), "DrawIndexedPrimitive");
}

// A count of 0 only closes the pass's recording.
void D3D9Renderer::DrawUnindexed(int32_t primitiveCount) {
    if (!PrepareDraw()) return;
    D3DPRIMITIVETYPE type;
    if (primitiveCount <= 0 || !PrimitiveTypeOf(CurrentPrimitiveKind(), type)) return;
    D3DSucceeded(device_->DrawPrimitive(type, 0, static_cast<UINT>(primitiveCount)), "DrawPrimitive");
}

// The streams go to fixed slots outside any recording; the current pass's
// declaration (or the device's, for a pass without streams of its own)
// describes them.
void D3D9Renderer::DrawIndexedStreams(Buffer* positions, IntBuffer* indices, Buffer* stream2, Buffer* stream3,
                                      Buffer* texCoords) {
    if (device_ == nullptr) return;
    if (declaration_ == nullptr) FinishRecording();
    if (declaration_ != nullptr) D3DSucceeded(device_->SetVertexDeclaration(declaration_), "SetVertexDeclaration");
    D3DDECLTYPE positionType;
    UINT positionStride = 0;
    IDirect3DIndexBuffer9* indexHandle = PrepareIndexBuffer(indices);
    IDirect3DVertexBuffer9* positionHandle = PrepareVertexBuffer(positions, false);
    if (indexHandle == nullptr || positionHandle == nullptr ||
        !CoordinateLayout(positions, positionType, positionStride))
        return;
    D3DSucceeded(device_->SetStreamSource(0, positionHandle, 0, positionStride), "SetStreamSource");
    const struct {
        Buffer* buffer;
        UINT stream, stride;
    } slots[] = {{texCoords, 1, 8}, {stream2, 2, 16}, {stream3, 3, 16}};
    for (const auto& slot : slots)
        if (IDirect3DVertexBuffer9* handle = PrepareVertexBuffer(slot.buffer, false))
            D3DSucceeded(device_->SetStreamSource(slot.stream, handle, 0, slot.stride), "SetStreamSource");
    D3DSucceeded(device_->SetIndices(indexHandle), "SetIndices");
    ApplyMirrorCulling();
    D3DPRIMITIVETYPE type;
    UINT count;
    if (!IndexedPrimitivesOf(CurrentPrimitiveKind(), indices->GetCount(), type, count)) return;
    D3DSucceeded(device_->DrawIndexedPrimitive(type, 0, 0, static_cast<UINT>(positions->GetCount()), 0, count),
                 "DrawIndexedPrimitive");
}

}  // namespace zel
