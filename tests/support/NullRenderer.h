// A renderer whose device calls do nothing and record nothing: the engine's
// own work (traversal, culling, effects, the deferred lists) runs as with a
// device, without allocating per call as the recording renderer does.
// Counts the indexed draws.
#pragma once

#include "engine/render/Renderer.h"

namespace zel::test {

class NullRenderer : public Renderer {
public:
    // The capabilities of the device the show meets under Wine: shaders 3.0,
    // 8 textures and lights, shadow maps, queries, points up to 255.
    NullRenderer() {
        RendererCapabilities& caps = MutableCapabilities();
        caps.simultaneousTextures = 8;
        caps.maxActiveLights = 8;
        caps.volumeTextures = caps.cubeTextures = caps.projectedTextures = true;
        caps.vertexShaderLevel = RendererCapabilities::kShaderLevel30;
        caps.pixelShaderLevel = RendererCapabilities::kShaderLevel30;
        caps.maxPointSize = 255.0f;
        caps.occlusionQueries = caps.hardwareShadowMaps = caps.floatTextures = true;
    }

    [[nodiscard]] int32_t CreateDevice(int32_t, const char*, void*, int32_t, int32_t, int32_t, int32_t) override { return 0; }
    int32_t DestroyDevice() override { return 0; }
    void ReleaseBuffer(Buffer*) override {}
    void ReleaseTexture(BaseTexture*) override {}
    void ReleaseShader(Shader*) override {}
    void ReleasePass(Pass*) override {}
    void ReleaseOcclusionQuery(OcclusionQuery*) override {}
    void BeginOcclusionQuery(OcclusionQuery*) override {}
    void EndOcclusionQuery(OcclusionQuery*) override {}
    void SetTexture(BaseTexture*, int32_t) override {}
    void SetVertexShader(Shader*) override {}
    void SetVertexShaderConstants(int32_t, const float*, int32_t) override {}
    void SetPixelShader(Shader*) override {}
    void SetPixelShaderConstants(int32_t, const float*, int32_t) override {}
    void SetTexCoordBuffer(Buffer*, uint8_t) override {}
    void SetColorBuffer(ColorBuffer*) override {}
    void SetPositionBuffer(Buffer*) override {}
    void SetPointSizeBuffer(FloatBuffer*) override {}
    void SetNormalBuffer(Vector3Buffer*) override {}
    void SetBlendWeightBuffer(Vector4Buffer*) override {}
    void SetBlendIndexBuffer(Vector4Buffer*) override {}
    void SetIndexBuffer(IntBuffer*) override {}
    void BeginPass(Pass*) override {}
    void DrawIndexed() override { ++draws; }
    void DrawIndexedStreams(Buffer*, IntBuffer*, Buffer*, Buffer*, Buffer*) override {}
    void DrawUnindexed(int32_t) override {}
    void Clear(int32_t, const ColorRGBA&, float, uint32_t) override {}
    int32_t BeginScene() override { return 0; }
    void EndScene() override {}
    void GetWorldMatrix(Matrix4&) override {}
    void SetWorldMatrix(const Matrix4&) override {}
    void GetViewMatrix(Matrix4&) override {}
    void SetViewMatrix(const Matrix4&) override {}
    void GetProjectionMatrix(Matrix4&) override {}
    void SetProjectionMatrix(const Matrix4&) override {}
    void GetTextureMatrix(Matrix4&, int32_t) override {}
    void SetTextureMatrix(int32_t, const Matrix4&) override {}
    void EnableLight(Light*) override {}
    void DisableLight() override {}
    void SetCubeRenderTarget(int32_t, CubeTexture*) override {}
    void SetRenderTarget(Texture*) override {}
    void SetDepthRenderTarget(Texture*, int32_t, float) override {}
    int32_t GetViewportWidth() override { return 800; }
    int32_t GetViewportHeight() override { return 600; }
    void SetViewport(float, float, float, float) override {}
    void SetGamma(int32_t) override {}

    int64_t draws = 0;
};

}  // namespace zel::test
