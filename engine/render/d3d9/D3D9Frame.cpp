// Frames, transforms, viewport, gamma: the device calls of a frame that
// touch no engine resource.
#include "engine/math/Matrix4.h"
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/render/device/ModeFormats.h"

namespace zel {

void D3D9Renderer::Clear(int32_t flags, const ColorRGBA& color, float depth, uint32_t stencil) {
    if ((flags & kClearColor) != 0) SetClearColor(color);
    if (device_ == nullptr) return;
    D3DSucceeded(device_->Clear(0, nullptr, static_cast<DWORD>(flags & 7), PackColor(color), depth, stencil),
                 "Clear");
}

// While the device is lost its objects are dropped and 1 is returned; once
// it can be reset it is reset with the kept presentation parameters, so a
// saver survives a lock screen or a display change.
int32_t D3D9Renderer::BeginScene() {
    if (device_ == nullptr) return kFailed;
    const HRESULT state = device_->TestCooperativeLevel();
    if (state == D3DERR_DEVICELOST) {
        ReleaseAll();
        return kFailed;
    }
    if (state == D3DERR_DEVICENOTRESET && !ResetDevice()) return kFailed;
    D3DSucceeded(device_->BeginScene(), "BeginScene");
    D3DSucceeded(device_->SetRenderState(D3DRS_LIGHTING, FALSE), "SetRenderState");
    D3DSucceeded(device_->SetRenderState(D3DRS_SPECULARENABLE, FALSE), "SetRenderState");
    return kOk;
}

void D3D9Renderer::EndScene() {
    if (device_ == nullptr) return;
    // A pass that never drew leaves its recording open.
    AbandonRecording();
    D3DSucceeded(device_->EndScene(), "EndScene");
    WaitForPreviousFrame();
    // A lost device fails here every frame; BeginScene handles the loss.
    const HRESULT presented = device_->Present(nullptr, nullptr, nullptr, nullptr);
    if (presented != D3DERR_DEVICELOST) D3DSucceeded(presented, "Present");
    MarkFrameEnd();
}

// At most one presented frame waits in the device: before presenting the
// next, the renderer sleeps until the device has finished the last. Frames
// queued deeper gain nothing, and the device layer's own wait for room
// spins on a processor that a software rasterizer needs. The wait is
// bounded, so a hung device cannot freeze the saver.
void D3D9Renderer::WaitForPreviousFrame() {
    if (frameEnd_ == nullptr) return;
    const DWORD start = GetTickCount();
    while (frameEnd_->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE &&
           GetTickCount() - start < kFrameWaitMilliseconds)
        Sleep(1);
}

// An event query marks the end of the presented frame; without one (the
// device refused it, and is not asked again until it is made anew) frames
// are not paced.
void D3D9Renderer::MarkFrameEnd() {
    if (frameEnd_ == nullptr && !frameEndRefused_ && FAILED(device_->CreateQuery(D3DQUERYTYPE_EVENT, &frameEnd_))) {
        frameEnd_ = nullptr;
        frameEndRefused_ = true;
    }
    if (frameEnd_ != nullptr) D3DSucceeded(frameEnd_->Issue(D3DISSUE_END), "Issue");
}

void D3D9Renderer::SetTransform(D3DTRANSFORMSTATETYPE state, const Matrix4& matrix) {
    if (device_ == nullptr) return;
    D3DSucceeded(device_->SetTransform(state, reinterpret_cast<const D3DMATRIX*>(&matrix)), "SetTransform");
}

void D3D9Renderer::GetTransform(D3DTRANSFORMSTATETYPE state, Matrix4& matrix) {
    if (device_ == nullptr) return;
    D3DSucceeded(device_->GetTransform(state, reinterpret_cast<D3DMATRIX*>(&matrix)), "GetTransform");
}

static_assert(sizeof(Matrix4) == sizeof(D3DMATRIX), "engine matrices go to the device as they are");

void D3D9Renderer::GetWorldMatrix(Matrix4& matrix) { GetTransform(D3DTS_WORLD, matrix); }
void D3D9Renderer::SetWorldMatrix(const Matrix4& matrix) { SetTransform(D3DTS_WORLD, matrix); }
void D3D9Renderer::GetViewMatrix(Matrix4& matrix) { GetTransform(D3DTS_VIEW, matrix); }
void D3D9Renderer::SetViewMatrix(const Matrix4& matrix) { SetTransform(D3DTS_VIEW, matrix); }
void D3D9Renderer::GetProjectionMatrix(Matrix4& matrix) { GetTransform(D3DTS_PROJECTION, matrix); }
void D3D9Renderer::SetProjectionMatrix(const Matrix4& matrix) { SetTransform(D3DTS_PROJECTION, matrix); }

void D3D9Renderer::GetTextureMatrix(Matrix4& matrix, int32_t stage) {
    GetTransform(static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_TEXTURE0 + stage), matrix);
}

// The identity switches the stage's coordinate transform off, so untouched
// stages cost nothing.
void D3D9Renderer::SetTextureMatrix(int32_t stage, const Matrix4& matrix) {
    SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_TEXTURE0 + stage), matrix);
    if (device_ == nullptr) return;
    const DWORD flags = matrix == Matrix4::Identity() ? D3DTTFF_DISABLE : D3DTTFF_COUNT3;
    D3DSucceeded(device_->SetTextureStageState(static_cast<DWORD>(stage), D3DTSS_TEXTURETRANSFORMFLAGS, flags),
                 "SetTextureStageState");
}

int32_t D3D9Renderer::GetViewportWidth() {
    D3DVIEWPORT9 viewport{};
    if (device_ == nullptr || !D3DSucceeded(device_->GetViewport(&viewport), "GetViewport")) return 0;
    return static_cast<int32_t>(viewport.Width);
}

int32_t D3D9Renderer::GetViewportHeight() {
    D3DVIEWPORT9 viewport{};
    if (device_ == nullptr || !D3DSucceeded(device_->GetViewport(&viewport), "GetViewport")) return 0;
    return static_cast<int32_t>(viewport.Height);
}

void D3D9Renderer::SetViewport(float x, float y, float width, float height) {
    if (device_ == nullptr) return;
    D3DVIEWPORT9 viewport{static_cast<DWORD>(x), static_cast<DWORD>(y), static_cast<DWORD>(width),
                          static_cast<DWORD>(height), 0.0f, 1.0f};
    D3DSucceeded(device_->SetViewport(&viewport), "SetViewport");
}

// The level is kept: a reset device has lost the ramp.
void D3D9Renderer::SetGamma(int32_t level) {
    if (device_ == nullptr) return;
    gammaSet_ = true;
    gammaLevel_ = level;
    ApplyGammaRamp();
}

void D3D9Renderer::ApplyGammaRamp() {
    D3DGAMMARAMP ramp{};
    for (int32_t i = 0; i < 256; ++i)
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = GammaRampEntry(gammaLevel_, i);
    // SetGammaRamp returns nothing to check.
    device_->SetGammaRamp(0, D3DSGR_CALIBRATE, &ramp);
}

void D3D9Renderer::SetVertexShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) {
    if (device_ == nullptr) return;
    D3DSucceeded(device_->SetVertexShaderConstantF(static_cast<UINT>(firstRegister), data,
                                                   static_cast<UINT>(registerCount)),
                 "SetVertexShaderConstantF");
}

void D3D9Renderer::SetPixelShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) {
    if (device_ == nullptr) return;
    D3DSucceeded(device_->SetPixelShaderConstantF(static_cast<UINT>(firstRegister), data,
                                                  static_cast<UINT>(registerCount)),
                 "SetPixelShaderConstantF");
}

}  // namespace zel
