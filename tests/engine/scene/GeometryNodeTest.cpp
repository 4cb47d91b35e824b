#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Stream.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Lines.h"
#include "engine/scene/Points.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "engine/scene/StripLines.h"
#include "engine/scene/Triangles.h"
#include "support/MathExpect.h"
#include "support/RecordingEffect.h"
#include "support/RecordingOutput.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

using test::RecordingEffect;
using test::RecordingRenderer;

template <class B>
Pointer<B> BufferNamed(B* buffer, const char* name) {
    buffer->SetName(String(name));
    return Pointer<B>(buffer);
}

// A triangle node "tri" with three positions and indices.
Pointer<Triangles> MakeTriangle(const char* name = "tri") {
    Pointer<Triangles> node = new Triangles(String(name));
    Pointer<Vector3Buffer> positions = BufferNamed(new Vector3Buffer(3, nullptr), "positions");
    (*positions)[1] = {1, 0, 0};
    (*positions)[2] = {0, 1, 0};
    Pointer<IntBuffer> indices = BufferNamed(new IntBuffer(3, new int32_t[3]{0, 1, 2}), "indices");
    node->SetVertices(positions);
    node->SetIndices(indices);
    return node;
}

struct GeometryDrawing : ::testing::Test {
    GeometryDrawing() {
        camera = new Camera(String("camera"));
        camera->Update(0, false);
        renderer->SetCamera(camera);
    }
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<Camera> camera;
};

TEST(GeometryNode, PrimitiveTypesAreFixedPerClass) {
    EXPECT_EQ(Points().GetPrimitiveType(), GeometryNode::kPoints);
    EXPECT_EQ(Lines().GetPrimitiveType(), GeometryNode::kLineList);
    EXPECT_EQ(StripLines().GetPrimitiveType(), GeometryNode::kLineStrip);
    EXPECT_EQ(Triangles().GetPrimitiveType(), GeometryNode::kTriangleList);
}

TEST(GeometryNode, NewVerticesDropTheTangentsAndLoadingRestoresThem) {
    Pointer<Triangles> node = MakeTriangle();
    Pointer<Vector3Buffer> tangents = BufferNamed(new Vector3Buffer(3, nullptr), "tangents");
    node->SetTangents(tangents);
    node->SetVertices(node->GetVertices());
    EXPECT_EQ(node->GetTangents(), nullptr);

    node->SetTangents(tangents);
    Stream stream(0, 1024);
    ASSERT_EQ(stream.WriteLink(node), 0);
    stream.Rewind();
    Pointer<Triangles> loaded;
    ASSERT_EQ(stream.ReadLinkAs(loaded), 0);
    ASSERT_NE(loaded->GetTangents(), nullptr);
    EXPECT_EQ(std::string(loaded->GetTangents()->GetName().CStr()), "tangents");
    // The model bound is fitted on load.
    auto* bound = static_cast<SphereBoundingVolume*>(loaded->GetModelBound());
    EXPECT_EQ(bound->GetCenter(), (Vector3{0.5f, 0.5f, 0}));
}

TEST(GeometryNode, LoadRefusesPositionsOfANonCoordinateKind) {
    Pointer<Triangles> node = new Triangles(String("bad"));
    node->SetVertices(new IntBuffer(3, nullptr));
    Stream stream(0, 1024);
    ASSERT_EQ(stream.WriteLink(node), 0);
    stream.Rewind();
    test::LogCapture capture;
    Pointer<Object> read;
    EXPECT_NE(stream.ReadLink(read), 0);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить вершины."));
}

TEST(GeometryNode, ModelBoundFollowsOnlyThreeVectorPositions) {
    Pointer<Triangles> node = MakeTriangle();
    node->ComputeModelBound();
    auto* bound = static_cast<SphereBoundingVolume*>(node->GetModelBound());
    EXPECT_EQ(bound->GetCenter(), (Vector3{0.5f, 0.5f, 0}));
    node->SetVertices(new Vector2Buffer(2, new Vector2[2]{{10, 10}, {20, 20}}));
    node->ComputeModelBound();
    EXPECT_EQ(bound->GetCenter(), (Vector3{0.5f, 0.5f, 0}));

    node->SetVertices(MakeTriangle()->GetVertices());
    node->SetLocal(Transform::Make({2, 2, 2}, Quaternion::Identity(), {0, 0, 10}));
    node->Update(0, false);
    auto* world = static_cast<SphereBoundingVolume*>(node->GetWorldBound());
    EXPECT_TRUE(test::Near(world->GetCenter(), {1, 1, 10}));
    EXPECT_FLOAT_EQ(world->GetRadius(), 2 * bound->GetRadius());
}

TEST(GeometryNode, FindsBuffersInFieldOrder) {
    Pointer<Triangles> node = MakeTriangle("node");
    Pointer<RecordingEffect> effect = new RecordingEffect();
    effect->SetName(String("indices"));
    node->SetTexCoords(7, BufferNamed(new Vector2Buffer(3, nullptr), "uv7"));
    node->SetTexCoords(8, BufferNamed(new Vector2Buffer(3, nullptr), "ignored"));
    EXPECT_EQ(node->GetTexCoords(8), nullptr);
    EXPECT_EQ(node->FindByName(String("uv7")), node->GetTexCoords(7));
    EXPECT_EQ(node->FindByName(String("indices")), node->GetIndices());
    node->SetEffect(effect);
    EXPECT_EQ(node->FindByName(String("indices")), effect.Get());

    ObjectArray buffers;
    node->CollectByType(Buffer::TYPE, buffers);
    ASSERT_EQ(buffers.Count(), 3);
    EXPECT_EQ(buffers[0], node->GetVertices());
    EXPECT_EQ(buffers[1], node->GetTexCoords(7));
    EXPECT_EQ(buffers[2], node->GetIndices());
}

TEST(GeometryNode, EffectOwnerFollowsTheNode) {
    Pointer<RecordingEffect> effect = new RecordingEffect();
    {
        Pointer<Triangles> node = MakeTriangle();
        node->SetEffect(effect);
        EXPECT_EQ(effect->GetOwnerNode(), node.Get());
    }
    EXPECT_EQ(effect->GetOwnerNode(), nullptr);
}

TEST(GeometryNode, SettersRefreshTheChosenTechniquesPasses) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<Triangles> node = MakeTriangle();
    Pointer<RecordingEffect> effect = new RecordingEffect();
    node->SetEffect(effect);
    node->SetColors(new ColorBuffer(3, nullptr));  // no technique yet: nothing to refresh
    ASSERT_EQ(effect->GetPassCount(*renderer), 1);
    test::RecordingPass* pass = effect->GetRecordingPass(0);
    const int32_t chosen = pass->refreshes;
    EXPECT_EQ(chosen, 1);
    pass->GetBinding().SetDirty(false);
    node->SetNormals(new Vector3Buffer(3, nullptr));
    EXPECT_EQ(pass->refreshes, chosen + 1);
    EXPECT_TRUE(pass->GetBinding().IsDirty());
}

// Drawing.

TEST_F(GeometryDrawing, NoEffectOrADisabledOneDrawsNothing) {
    Pointer<Triangles> node = MakeTriangle();
    node->Draw(*renderer);
    Pointer<RecordingEffect> effect = new RecordingEffect();
    effect->blendEnable = true;
    effect->Disable();
    node->SetEffect(effect);
    node->Draw(*renderer);
    EXPECT_TRUE(renderer->calls.empty());
    EXPECT_EQ(renderer->GetDeferredCount(), 0);
}

TEST_F(GeometryDrawing, EveryPassBindsDrawsAndEmptiesTheLightStack) {
    Pointer<Triangles> node = MakeTriangle();
    Pointer<RecordingEffect> effect = new RecordingEffect();
    effect->AddRecordingTechnique("lit", 2, 0);
    node->SetEffect(effect);
    ASSERT_EQ(effect->GetPassCount(*renderer), 2);
    Pointer<Light> light = new Light(Light::kPoint, String("lamp"));
    effect->GetRecordingPass(0)->light = light;
    effect->GetRecordingPass(0)->result = 1;  // skipped, but its light still goes
    node->Draw(*renderer);
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{
                                   "BeginPass(lit.0)", "SetPositionBuffer(positions)", "SetIndexBuffer(indices)",
                                   "EnableLight(lamp, 0)", "DisableLight(0)",
                                   "BeginPass(lit.1)", "SetPositionBuffer(positions)", "SetIndexBuffer(indices)",
                                   "DrawIndexed(tri)"}));
    EXPECT_EQ(renderer->GetLightCount(), 0);
    EXPECT_EQ(renderer->GetCurrentGeometry(), node.Get());
}

TEST_F(GeometryDrawing, BlendedNodesAreDeferredBySquaredDistance) {
    Pointer<Triangles> node = MakeTriangle();
    Pointer<RecordingEffect> effect = new RecordingEffect();
    effect->blendEnable = true;
    node->SetEffect(effect);
    node->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {0, 0, 3}));
    node->Update(0, false);
    node->Draw(*renderer);
    EXPECT_TRUE(renderer->calls.empty());
    EXPECT_EQ(renderer->GetDeferredCount(), 1);
    renderer->FlushDeferred();
    EXPECT_EQ(renderer->Filter({"BeginPass", "DrawIndexed"}),
              (std::vector<std::string>{"BeginPass(tech.0)", "DrawIndexed(tri)"}));
}

}  // namespace
}  // namespace zel
