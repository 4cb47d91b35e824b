// Small drawable pieces for the Wine tests of passes and effects: a
// geometry node of any primitive kind, a pass binding its streams, a
// clip-space quad, vertex colours through stage 0, and the fixture that
// draws them with identity matrices.
#pragma once

#include "D3D9TestFixture.h"

#include "engine/core/Buffer.h"
#include "engine/render/Pass.h"
#include "engine/render/Renderer.h"
#include "engine/render/texture/Texture.h"
#include "engine/scene/GeometryNode.h"

namespace zel::test {

// A geometry node of any primitive kind, the strips included.
class KindNode : public GeometryNode {
public:
    explicit KindNode(int32_t kind) : kind_(kind) {}
    int32_t GetPrimitiveType() const override { return kind_; }

private:
    int32_t kind_;
};

// Binds the node's streams in a fixed order and, when set, a texture.
class StreamPass : public Pass {
public:
    int32_t Draw(Renderer& renderer) override {
        GeometryNode* node = renderer.GetCurrentGeometry();
        renderer.SetPositionBuffer(node->GetVertices());
        renderer.SetColorBuffer(node->GetColors());
        renderer.SetTexCoordBuffer(node->GetTexCoords(1), 1);
        renderer.SetTexCoordBuffer(node->GetTexCoords(0), 0);
        renderer.SetNormalBuffer(node->GetNormals());
        renderer.SetIndexBuffer(node->GetIndices());
        if (texture != nullptr) renderer.SetTexture(texture, 0);
        return 0;
    }
    Pointer<BaseTexture> texture;
};

// A rectangle in clip space (the matrices are identities) at depth z,
// drawn as two triangles; colours left to right, texture v downward.
inline Pointer<GeometryNode> Quad(float left, float bottom, float right, float top, float z = 0.5f,
                           const ColorRGBA& leftColor = {1, 1, 1, 1}, const ColorRGBA& rightColor = {1, 1, 1, 1}) {
    Pointer<GeometryNode> node = new KindNode(GeometryNode::kTriangleList);
    auto* positions = new Vector3Buffer(4, nullptr);
    (*positions)[0] = Vector3{left, bottom, z};
    (*positions)[1] = Vector3{right, bottom, z};
    (*positions)[2] = Vector3{right, top, z};
    (*positions)[3] = Vector3{left, top, z};
    auto* colors = new ColorBuffer(4, nullptr);
    (*colors)[0] = (*colors)[3] = leftColor;
    (*colors)[1] = (*colors)[2] = rightColor;
    auto* uv = new Vector2Buffer(4, nullptr);
    (*uv)[0] = Vector2{0, 1};
    (*uv)[1] = Vector2{1, 1};
    (*uv)[2] = Vector2{1, 0};
    (*uv)[3] = Vector2{0, 0};
    auto* indices = new IntBuffer(6, nullptr);
    const int32_t order[] = {0, 1, 2, 0, 2, 3};
    for (int32_t i = 0; i < 6; ++i) (*indices)[i] = order[i];
    node->SetVertices(positions);
    node->SetColors(colors);
    node->SetTexCoords(0, uv);
    node->SetIndices(indices);
    return node;
}

// Stage 0 passes the vertex colour on, texture or not.
inline void UseVertexColour(RenderStateBlock& block) {
    TextureStage& stage = block.stages[0];
    stage.mode = TextureStage::kCombine;
    stage.colorOperation = stage.alphaOperation = TextureStage::kSelect;
    stage.colorSources[0] = stage.alphaSources[0] = TextureStage::kSourceVertexColor;
    stage.alphaModifiers[0] = TextureStage::kModifierNone;
}

// The renderer with identity matrices, so positions are clip-space, and a
// stream pass that culls nothing. Frames stay open until the test ends,
// since presenting discards the back buffer that tests read.
class ClipSpaceTest : public D3D9RendererTest {
protected:
    void SetUp() override {
        D3D9RendererTest::SetUp();
        if (IsSkipped()) return;
        renderer_->SetWorldMatrix(Matrix4::Identity());
        renderer_->SetViewMatrix(Matrix4::Identity());
        renderer_->SetProjectionMatrix(Matrix4::Identity());
        pass_ = new StreamPass();
        pass_->GetRenderStateBlock()->cullEnable = false;
    }

    void TearDown() override {
        if (renderer_ != nullptr && renderer_->GetDevice() != nullptr) renderer_->GetDevice()->EndScene();
        D3D9RendererTest::TearDown();
    }

    Pointer<StreamPass> pass_;
};

}  // namespace zel::test
