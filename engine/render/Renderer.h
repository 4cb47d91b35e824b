// The abstract renderer: every drawing request of the engine goes through
// these operations, implemented by exactly one device renderer. The
// engine-wide current renderer is one counted reference.
#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/Pointer.h"

namespace zel {

class Buffer;
class Camera;
class ColorBuffer;
class CubeTexture;
class FloatBuffer;
class IntBuffer;
class Light;
class OcclusionQuery;
class Pass;
class Shader;
class Texture;
class Vector3Buffer;
class Vector4Buffer;
struct ColorRGBA;
struct Matrix4;

class Renderer : public virtual RefCounted {
public:
    ~Renderer() override = default;

    virtual int32_t CreateDevice(int32_t modeIndex, const char* title, void* parentWindow, int32_t x, int32_t y,
                                 int32_t width, int32_t height) = 0;
    virtual int32_t DestroyDevice() = 0;
    // Free the object's device copy and clear its binding.
    virtual void ReleaseBuffer(Buffer* buffer) = 0;
    virtual void ReleaseTexture(Texture* texture) = 0;
    virtual void ReleaseShader(Shader* shader) = 0;
    virtual void ReleasePass(Pass* pass) = 0;
    virtual void ReleaseOcclusionQuery(OcclusionQuery* query) = 0;
    virtual void BeginOcclusionQuery(OcclusionQuery* query) = 0;
    virtual void EndOcclusionQuery(OcclusionQuery* query) = 0;
    virtual void SetTexture(Texture* texture, int32_t stage) = 0;
    virtual void SetVertexShader(Shader* shader) = 0;
    virtual void SetVertexShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) = 0;
    virtual void SetPixelShader(Shader* shader) = 0;
    virtual void SetPixelShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) = 0;
    virtual void SetTexCoordBuffer(Buffer* buffer, uint8_t set) = 0;
    virtual void SetColorBuffer(ColorBuffer* buffer) = 0;
    virtual void SetPositionBuffer(Buffer* buffer) = 0;
    virtual void SetPointSizeBuffer(FloatBuffer* buffer) = 0;
    virtual void SetNormalBuffer(Vector3Buffer* buffer) = 0;
    virtual void SetBlendWeightBuffer(Vector4Buffer* buffer) = 0;
    virtual void SetBlendIndexBuffer(Vector4Buffer* buffer) = 0;
    virtual void SetIndexBuffer(IntBuffer* buffer) = 0;
    virtual void BeginPass(Pass* pass) = 0;
    virtual void DrawIndexed() = 0;
    virtual void DrawIndexedStreams(Buffer* positions, IntBuffer* indices, Buffer* stream2, Buffer* stream3,
                                    Buffer* texCoords) = 0;
    virtual void DrawUnindexed(int32_t primitiveCount) = 0;
    // flags: bit 0 colour, bit 1 depth, bit 2 stencil.
    virtual void Clear(int32_t flags, const ColorRGBA& color, float depth, uint32_t stencil) = 0;
    // 0: the frame may be drawn; 1: the device was lost.
    virtual int32_t BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual void GetWorldMatrix(Matrix4& matrix) = 0;
    virtual void SetWorldMatrix(const Matrix4& matrix) = 0;
    virtual void GetViewMatrix(Matrix4& matrix) = 0;
    virtual void SetViewMatrix(const Matrix4& matrix) = 0;
    virtual void GetProjectionMatrix(Matrix4& matrix) = 0;
    virtual void SetProjectionMatrix(const Matrix4& matrix) = 0;
    virtual void GetTextureMatrix(Matrix4& matrix, int32_t stage) = 0;
    virtual void SetTextureMatrix(int32_t stage, const Matrix4& matrix) = 0;
    virtual void EnableLight(Light* light) = 0;
    virtual void DisableLight() = 0;
    virtual void SetCubeRenderTarget(int32_t face, CubeTexture* texture) = 0;
    virtual void SetRenderTarget(Texture* texture) = 0;
    virtual void SetDepthRenderTarget(Texture* texture, int32_t depthBias, float slopeScaleBias) = 0;
    virtual int32_t GetViewportWidth() = 0;
    virtual int32_t GetViewportHeight() = 0;
    virtual void SetViewport(float x, float y, float width, float height) = 0;
    virtual void SetGamma(int32_t level) = 0;
};

// The engine-wide current renderer, or null.
Renderer* GetCurrentRenderer();
void SetCurrentRenderer(Renderer* renderer);

}  // namespace zel
