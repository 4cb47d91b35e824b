// A renderer test double: records every device call with its arguments as
// a line of text ("BeginPass(pass)", "DrawIndexed(node)"), reports the
// capabilities a test sets and keeps a display-mode list. Objects appear by
// name, null as "null". Results of the calls that have one are settable.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "engine/core/Object.h"
#include "engine/render/Renderer.h"
#include "engine/math/Matrix4.h"

namespace zel::test {

class RecordingRenderer : public Renderer {
public:
    // Full capabilities: 8 textures, 8 lights, shader level 3.0, everything
    // supported; an 800 × 600 viewport; no display modes.
    RecordingRenderer();
    ~RecordingRenderer() override;

    RendererCapabilities& Capabilities() { return MutableCapabilities(); }
    // A device without shaders and with `textures` texture stages and
    // `lights` lights.
    void SetFixedFunction(int32_t textures, int32_t lights);
    // Out of memory only: the mode is missing and the test's lookups fail.
    void AddMode(const DisplayModeEntry& entry) { (void)AddDisplayMode(entry); }

    // The recorded lines, in call order.
    std::vector<std::string> calls;
    // Results handed back.
    int32_t createDeviceResult = 0;
    int32_t destroyDeviceResult = 0;
    int32_t beginSceneResult = 0;
    int32_t viewportWidth = 800;
    int32_t viewportHeight = 600;
    // The count EndOcclusionQuery stores in the query.
    int32_t visiblePixels = 0;

    // The last values set in each program register, by register.
    using Register = std::array<float, 4>;
    std::map<int32_t, Register> vertexConstants;
    std::map<int32_t, Register> pixelConstants;

    // Lines whose text starts with `prefix`.
    int32_t Count(const std::string& prefix) const;
    // The recorded lines that start with one of the prefixes, in order.
    std::vector<std::string> Filter(const std::vector<std::string>& prefixes) const;
    void ClearCalls() { calls.clear(); }

    [[nodiscard]] int32_t CreateDevice(int32_t modeIndex, const char* title, void* parentWindow, int32_t x, int32_t y,
                         int32_t width, int32_t height) override;
    int32_t DestroyDevice() override;
    void ReleaseBuffer(Buffer* buffer) override;
    void ReleaseTexture(BaseTexture* texture) override;
    void ReleaseShader(Shader* shader) override;
    void ReleasePass(Pass* pass) override;
    void ReleaseOcclusionQuery(OcclusionQuery* query) override;
    void BeginOcclusionQuery(OcclusionQuery* query) override;
    void EndOcclusionQuery(OcclusionQuery* query) override;
    void SetTexture(BaseTexture* texture, int32_t stage) override;
    void SetVertexShader(Shader* shader) override;
    void SetVertexShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) override;
    void SetPixelShader(Shader* shader) override;
    void SetPixelShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) override;
    void SetTexCoordBuffer(Buffer* buffer, uint8_t set) override;
    void SetColorBuffer(ColorBuffer* buffer) override;
    void SetPositionBuffer(Buffer* buffer) override;
    void SetPointSizeBuffer(FloatBuffer* buffer) override;
    void SetNormalBuffer(Vector3Buffer* buffer) override;
    void SetBlendWeightBuffer(Vector4Buffer* buffer) override;
    void SetBlendIndexBuffer(Vector4Buffer* buffer) override;
    void SetIndexBuffer(IntBuffer* buffer) override;
    void BeginPass(Pass* pass) override;
    void DrawIndexed() override;
    void DrawIndexedStreams(Buffer* positions, IntBuffer* indices, Buffer* stream2, Buffer* stream3,
                            Buffer* texCoords) override;
    void DrawUnindexed(int32_t primitiveCount) override;
    void Clear(int32_t flags, const ColorRGBA& color, float depth, uint32_t stencil) override;
    int32_t BeginScene() override;
    void EndScene() override;
    void GetWorldMatrix(Matrix4& matrix) override;
    void SetWorldMatrix(const Matrix4& matrix) override;
    void GetViewMatrix(Matrix4& matrix) override;
    void SetViewMatrix(const Matrix4& matrix) override;
    void GetProjectionMatrix(Matrix4& matrix) override;
    void SetProjectionMatrix(const Matrix4& matrix) override;
    void GetTextureMatrix(Matrix4& matrix, int32_t stage) override;
    void SetTextureMatrix(int32_t stage, const Matrix4& matrix) override;
    void EnableLight(Light* light) override;
    void DisableLight() override;
    void SetCubeRenderTarget(int32_t face, CubeTexture* texture) override;
    void SetRenderTarget(Texture* texture) override;
    void SetDepthRenderTarget(Texture* texture, int32_t depthBias, float slopeScaleBias) override;
    int32_t GetViewportWidth() override;
    int32_t GetViewportHeight() override;
    void SetViewport(float x, float y, float width, float height) override;
    void SetGamma(int32_t level) override;

private:
    void Record(const std::string& line) { calls.push_back(line); }

    Matrix4 world_;
    Matrix4 view_;
    Matrix4 projection_;
    Matrix4 textureMatrices_[8];
};

// The object's name, or "null".
std::string NameOf(const Object* object);

}  // namespace zel::test
