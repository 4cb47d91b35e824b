// Passes, streams, draws and lights. The stream setters keep their
// buffers' device copies current. Recording a pass into a device state
// block with its vertex declaration, the draws and the device lights are
// not built yet: passes draw nothing.
#include "engine/core/Buffer.h"
#include "engine/render/d3d9/D3D9Renderer.h"

namespace zel {

void D3D9Renderer::SetTexCoordBuffer(Buffer* buffer, uint8_t) { PrepareVertexBuffer(buffer, false); }

void D3D9Renderer::SetColorBuffer(ColorBuffer* buffer) {
    PrepareVertexBuffer(buffer, !hardwareVertexProcessing_);
}

void D3D9Renderer::SetPositionBuffer(Buffer* buffer) { PrepareVertexBuffer(buffer, false); }
void D3D9Renderer::SetPointSizeBuffer(FloatBuffer* buffer) { PrepareVertexBuffer(buffer, false); }
void D3D9Renderer::SetNormalBuffer(Vector3Buffer* buffer) { PrepareVertexBuffer(buffer, false); }
void D3D9Renderer::SetBlendWeightBuffer(Vector4Buffer* buffer) { PrepareVertexBuffer(buffer, false); }
void D3D9Renderer::SetBlendIndexBuffer(Vector4Buffer* buffer) { PrepareVertexBuffer(buffer, false); }
void D3D9Renderer::SetIndexBuffer(IntBuffer* buffer) { PrepareIndexBuffer(buffer); }

void D3D9Renderer::BeginPass(Pass* pass) { SetCurrentPass(pass); }
void D3D9Renderer::DrawIndexed() {}
void D3D9Renderer::DrawIndexedStreams(Buffer*, IntBuffer*, Buffer*, Buffer*, Buffer*) {}
void D3D9Renderer::DrawUnindexed(int32_t) {}
void D3D9Renderer::EnableLight(Light*) {}
void D3D9Renderer::DisableLight() {}

}  // namespace zel
