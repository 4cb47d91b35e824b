#include "support/RecordingRenderer.h"

#include "engine/core/Buffer.h"
#include "engine/core/Object.h"
#include "engine/render/OcclusionQuery.h"
#include "engine/render/Pass.h"
#include "engine/render/shader/Shader.h"
#include "engine/render/texture/CubeTexture.h"
#include "engine/render/texture/Texture.h"
#include "engine/scene/GeometryNode.h"
#include "engine/scene/Light.h"

namespace zel::test {

namespace {

std::string Call(const char* name, const std::string& arguments = std::string()) {
    return std::string(name) + "(" + arguments + ")";
}

std::string Join(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

}  // namespace

std::string NameOf(const Object* object) { return object != nullptr ? object->GetName().CStr() : "null"; }

RecordingRenderer::RecordingRenderer() {
    RendererCapabilities& caps = MutableCapabilities();
    caps.simultaneousTextures = 8;
    caps.maxActiveLights = 8;
    caps.volumeTextures = caps.cubeTextures = caps.projectedTextures = true;
    caps.vertexShaderLevel = RendererCapabilities::kShaderLevel30;
    caps.pixelShaderLevel = RendererCapabilities::kShaderLevel30;
    caps.pointSprites = caps.occlusionQueries = caps.hardwareShadowMaps = caps.floatTextures = true;
}

// Drops the device before the base class destroys a still-open window.
RecordingRenderer::~RecordingRenderer() {
    if (IsWindowOpen()) CloseWindow();
}

void RecordingRenderer::SetFixedFunction(int32_t textures, int32_t lights) {
    RendererCapabilities& caps = MutableCapabilities();
    caps.simultaneousTextures = textures;
    caps.maxActiveLights = lights;
    caps.vertexShaderLevel = RendererCapabilities::kShaderLevelNone;
    caps.pixelShaderLevel = RendererCapabilities::kShaderLevelNone;
}

int32_t RecordingRenderer::Count(const std::string& prefix) const {
    int32_t count = 0;
    for (const std::string& line : calls)
        if (line.compare(0, prefix.size(), prefix) == 0) ++count;
    return count;
}

std::vector<std::string> RecordingRenderer::Filter(const std::vector<std::string>& prefixes) const {
    std::vector<std::string> kept;
    for (const std::string& line : calls)
        for (const std::string& prefix : prefixes)
            if (line.compare(0, prefix.size(), prefix) == 0) {
                kept.push_back(line);
                break;
            }
    return kept;
}

int32_t RecordingRenderer::CreateDevice(int32_t modeIndex, const char* title, void*, int32_t x, int32_t y,
                                        int32_t width, int32_t height) {
    Record(Call("CreateDevice", Join({std::to_string(modeIndex), title != nullptr ? title : "null",
                                      std::to_string(x), std::to_string(y), std::to_string(width),
                                      std::to_string(height)})));
    if (createDeviceResult == 0) {
        if (const DisplayModeEntry* mode = GetDisplayMode(modeIndex)) {
            const bool full = mode->fullScreen;
            SetFrameFormat(*mode, full ? 0 : x, full ? 0 : y, full ? static_cast<int32_t>(mode->width) : width,
                           full ? static_cast<int32_t>(mode->height) : height);
        }
    }
    return createDeviceResult;
}

int32_t RecordingRenderer::DestroyDevice() {
    Record(Call("DestroyDevice"));
    return destroyDeviceResult;
}

void RecordingRenderer::ReleaseBuffer(Buffer* buffer) {
    Record(Call("ReleaseBuffer", NameOf(buffer)));
    buffer->GetBinding().Clear();
}

void RecordingRenderer::ReleaseTexture(BaseTexture* texture) {
    Record(Call("ReleaseTexture", NameOf(texture)));
    texture->GetBinding().Clear();
}

void RecordingRenderer::ReleaseShader(Shader* shader) {
    Record(Call("ReleaseShader", NameOf(shader)));
    shader->GetBinding().Clear();
}

void RecordingRenderer::ReleasePass(Pass* pass) {
    Record(Call("ReleasePass", NameOf(pass)));
    pass->GetBinding().Clear();
}

void RecordingRenderer::ReleaseOcclusionQuery(OcclusionQuery*) { Record(Call("ReleaseOcclusionQuery")); }
void RecordingRenderer::BeginOcclusionQuery(OcclusionQuery*) { Record(Call("BeginOcclusionQuery")); }
void RecordingRenderer::EndOcclusionQuery(OcclusionQuery* query) {
    Record(Call("EndOcclusionQuery"));
    query->SetVisiblePixels(visiblePixels);
}

void RecordingRenderer::SetTexture(BaseTexture* texture, int32_t stage) {
    Record(Call("SetTexture", Join({NameOf(texture), std::to_string(stage)})));
}

void RecordingRenderer::SetVertexShader(Shader* shader) { Record(Call("SetVertexShader", NameOf(shader))); }

namespace {

void Store(std::map<int32_t, RecordingRenderer::Register>& registers, int32_t first, const float* data, int32_t count) {
    for (int32_t i = 0; i < count && data != nullptr; ++i)
        registers[first + i] = {data[4 * i], data[4 * i + 1], data[4 * i + 2], data[4 * i + 3]};
}

}  // namespace

void RecordingRenderer::SetVertexShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) {
    Record(Call("SetVertexShaderConstants", Join({std::to_string(firstRegister), std::to_string(registerCount)})));
    Store(vertexConstants, firstRegister, data, registerCount);
}

void RecordingRenderer::SetPixelShader(Shader* shader) { Record(Call("SetPixelShader", NameOf(shader))); }

void RecordingRenderer::SetPixelShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) {
    Record(Call("SetPixelShaderConstants", Join({std::to_string(firstRegister), std::to_string(registerCount)})));
    Store(pixelConstants, firstRegister, data, registerCount);
}

void RecordingRenderer::SetTexCoordBuffer(Buffer* buffer, uint8_t set) {
    Record(Call("SetTexCoordBuffer", Join({NameOf(buffer), std::to_string(set)})));
}

void RecordingRenderer::SetColorBuffer(ColorBuffer* buffer) { Record(Call("SetColorBuffer", NameOf(buffer))); }
void RecordingRenderer::SetPositionBuffer(Buffer* buffer) { Record(Call("SetPositionBuffer", NameOf(buffer))); }
void RecordingRenderer::SetPointSizeBuffer(FloatBuffer* buffer) {
    Record(Call("SetPointSizeBuffer", NameOf(buffer)));
}
void RecordingRenderer::SetNormalBuffer(Vector3Buffer* buffer) { Record(Call("SetNormalBuffer", NameOf(buffer))); }
void RecordingRenderer::SetBlendWeightBuffer(Vector4Buffer* buffer) {
    Record(Call("SetBlendWeightBuffer", NameOf(buffer)));
}
void RecordingRenderer::SetBlendIndexBuffer(Vector4Buffer* buffer) {
    Record(Call("SetBlendIndexBuffer", NameOf(buffer)));
}
void RecordingRenderer::SetIndexBuffer(IntBuffer* buffer) { Record(Call("SetIndexBuffer", NameOf(buffer))); }

void RecordingRenderer::BeginPass(Pass* pass) { Record(Call("BeginPass", NameOf(pass))); }

void RecordingRenderer::DrawIndexed() { Record(Call("DrawIndexed", NameOf(GetCurrentGeometry()))); }

void RecordingRenderer::DrawIndexedStreams(Buffer* positions, IntBuffer* indices, Buffer* stream2, Buffer* stream3,
                                           Buffer* texCoords) {
    Record(Call("DrawIndexedStreams",
                Join({NameOf(positions), NameOf(indices), NameOf(stream2), NameOf(stream3), NameOf(texCoords)})));
}

void RecordingRenderer::DrawUnindexed(int32_t primitiveCount) {
    Record(Call("DrawUnindexed", std::to_string(primitiveCount)));
}

void RecordingRenderer::Clear(int32_t flags, const ColorRGBA& color, float, uint32_t) {
    Record(Call("Clear", std::to_string(flags)));
    if ((flags & kClearColor) != 0) SetClearColor(color);
}

int32_t RecordingRenderer::BeginScene() {
    Record(Call("BeginScene"));
    return beginSceneResult;
}

void RecordingRenderer::EndScene() { Record(Call("EndScene")); }

void RecordingRenderer::GetWorldMatrix(Matrix4& matrix) { matrix = world_; }
void RecordingRenderer::SetWorldMatrix(const Matrix4& matrix) {
    Record(Call("SetWorldMatrix"));
    world_ = matrix;
}
void RecordingRenderer::GetViewMatrix(Matrix4& matrix) { matrix = view_; }
void RecordingRenderer::SetViewMatrix(const Matrix4& matrix) {
    Record(Call("SetViewMatrix"));
    view_ = matrix;
}
void RecordingRenderer::GetProjectionMatrix(Matrix4& matrix) { matrix = projection_; }
void RecordingRenderer::SetProjectionMatrix(const Matrix4& matrix) {
    Record(Call("SetProjectionMatrix"));
    projection_ = matrix;
}

void RecordingRenderer::GetTextureMatrix(Matrix4& matrix, int32_t stage) {
    matrix = stage >= 0 && stage < 8 ? textureMatrices_[stage] : Matrix4();
}

void RecordingRenderer::SetTextureMatrix(int32_t stage, const Matrix4& matrix) {
    Record(Call("SetTextureMatrix", std::to_string(stage)));
    if (stage >= 0 && stage < 8) textureMatrices_[stage] = matrix;
}

void RecordingRenderer::EnableLight(Light* light) {
    Record(Call("EnableLight", Join({NameOf(light), std::to_string(GetLightCount() - 1)})));
}

void RecordingRenderer::DisableLight() { Record(Call("DisableLight", std::to_string(GetLightCount()))); }

void RecordingRenderer::SetCubeRenderTarget(int32_t face, CubeTexture* texture) {
    Record(Call("SetCubeRenderTarget", Join({std::to_string(face), NameOf(texture)})));
}

void RecordingRenderer::SetRenderTarget(Texture* texture) {
    Record(Call("SetRenderTarget", NameOf(texture)));
    if (texture == nullptr) FlushDeferred();
}

void RecordingRenderer::SetDepthRenderTarget(Texture* texture, int32_t depthBias, float) {
    Record(Call("SetDepthRenderTarget", Join({NameOf(texture), std::to_string(depthBias)})));
}

int32_t RecordingRenderer::GetViewportWidth() { return viewportWidth; }
int32_t RecordingRenderer::GetViewportHeight() { return viewportHeight; }

void RecordingRenderer::SetViewport(float x, float y, float width, float height) {
    Record(Call("SetViewport", Join({std::to_string(static_cast<int32_t>(x)), std::to_string(static_cast<int32_t>(y)),
                                     std::to_string(static_cast<int32_t>(width)),
                                     std::to_string(static_cast<int32_t>(height))})));
    viewportWidth = static_cast<int32_t>(width);
    viewportHeight = static_cast<int32_t>(height);
}

void RecordingRenderer::SetGamma(int32_t level) { Record(Call("SetGamma", std::to_string(level))); }

}  // namespace zel::test
