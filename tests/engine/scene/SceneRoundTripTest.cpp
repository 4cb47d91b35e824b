// A scene built in code goes through the STR codec and comes back with the
// same objects, sharing and drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/resources/CodecManager.h"
#include "engine/resources/File.h"
#include "engine/resources/TempDirectory.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"
#include "support/RecordingEffect.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

using test::RecordingRenderer;

template <class T>
T* WithName(T* object, const char* name) {
    object->SetName(String(name));
    return object;
}

Transform PlacedAt(const Vector3& t) { return Transform::Make({1, 1, 1}, Quaternion::Identity(), t); }

// Root: camera, light, group (scene effect; triangles A opaque and B
// blended, sharing positions and indices; a nested group with two empty
// slots and C).
Pointer<SceneNode> BuildScene() {
    Pointer<SceneNode> root = WithName(new SceneNode(String(), 0, 4), "Root");
    Pointer<SceneNode> group = WithName(new SceneNode(String(), 0, 2), "Group");
    Pointer<SceneNode> inner = WithName(new SceneNode(String(), 2, 1), "Inner");
    Pointer<Camera> camera = WithName(new Camera(), "Camera");
    camera->SetLocal(PlacedAt({0, 0, -10}));
    camera->SetFarPlane(500);
    Pointer<Light> light = WithName(new Light(Light::kPoint), "Lamp");
    light->SetDiffuse({1, 0.5f, 0.25f, 1});
    Pointer<Vector3Buffer> positions =
        WithName(new Vector3Buffer(3, new Vector3[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), "Positions");
    Pointer<IntBuffer> indices = WithName(new IntBuffer(3, new int32_t[3]{0, 1, 2}), "Indices");
    const struct {
        const char* name;
        bool blended;
        Vector3 at;
        SceneNode* parent;
    } meshes[] = {{"A", false, {-2, 0, 0}, group}, {"B", true, {2, 0, 0}, group}, {"C", false, {0, 2, 0}, inner}};
    for (const auto& m : meshes) {
        Pointer<Triangles> mesh = WithName(new Triangles(), m.name);
        mesh->SetVertices(positions);
        mesh->SetIndices(indices);
        Pointer<test::RecordingEffect> effect = new test::RecordingEffect();
        effect->blendEnable = m.blended;
        mesh->SetEffect(effect);
        mesh->SetLocal(PlacedAt(m.at));
        mesh->UpdateModel(true, false);
        m.parent->AppendChild(mesh);
    }
    group->AppendChild(inner);
    EXPECT_EQ(group->AddEffect(WithName(new test::RecordingSceneEffect(), "Wrap")), kOk);
    root->AppendChild(camera);
    root->AppendChild(light);
    root->AppendChild(group);
    return root;
}

// One frame through `camera`; the recorded calls.
std::vector<std::string> DrawFrame(SceneNode* root) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    renderer->SetCamera(CastTo<Camera>(root->FindByName(String("Camera"))));
    root->Update(0.0, true);
    EXPECT_EQ(renderer->BeginFrame(), kOk);
    root->DrawVisible(*renderer);
    renderer->EndFrame();
    return renderer->calls;
}

// Type and name of every object, in collection order.
std::vector<std::string> Inventory(SceneNode* root) {
    ObjectArray objects;
    root->CollectByType(Object::TYPE, objects);
    std::vector<std::string> lines;
    for (Object* object : objects)
        lines.push_back(std::string(object->GetRtti()->GetName().CStr()) + " " + object->GetName().CStr());
    return lines;
}

struct SceneFile : ::testing::Test {
    SceneFile() { EXPECT_EQ(LoadCodec(String("STRSceneCodec"), &codec), kOk); }
    Pointer<Codec> codec;
    test::TempDirectory directory;
};

TEST_F(SceneFile, ABuiltSceneSavesLoadsAndDrawsTheSame) {
    Pointer<SceneNode> scene = BuildScene();
    File file(String((directory / "Scene.STR").string().c_str()));
    SceneCodec* scenes = CodecAs<SceneCodec>(codec);
    ASSERT_NE(scenes, nullptr);
    ASSERT_EQ(scenes->Save(&file, scene), kOk);

    Pointer<Object> read;
    ASSERT_EQ(LoadScene(&file, &read), kOk);
    SceneNode* loaded = CastTo<SceneNode>(read);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(Inventory(loaded), Inventory(scene));

    auto* a = CastTo<Triangles>(loaded->FindByName(String("A")));
    auto* b = CastTo<Triangles>(loaded->FindByName(String("B")));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->GetVertices(), b->GetVertices());
    EXPECT_EQ(a->GetIndices(), b->GetIndices());
    EXPECT_NE(a->GetNormals(), b->GetNormals());
    EXPECT_EQ(a->GetLocal().translation, (Vector3{-2, 0, 0}));
    auto* camera = CastTo<Camera>(loaded->FindByName(String("Camera")));
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->GetFarPlane(), 500);
    EXPECT_EQ(camera->GetParent(), loaded);
    auto* light = CastTo<Light>(loaded->FindByName(String("Lamp")));
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->GetDiffuse(), (ColorRGBA{1, 0.5f, 0.25f, 1}));
    auto* inner = CastTo<SceneNode>(loaded->FindByName(String("Inner")));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetChildCount(), 3);
    EXPECT_EQ(inner->GetChild(0), nullptr);
    EXPECT_EQ(inner->GetGrowBy(), 1);

    const std::vector<std::string> expected = {
        "BeginScene()",
        "BeginPass(scene.0)",
        "BeginPass(tech.0)", "SetPositionBuffer(Positions)", "SetIndexBuffer(Indices)", "DrawIndexed(A)",
        "BeginPass(tech.0)", "SetPositionBuffer(Positions)", "SetIndexBuffer(Indices)", "DrawIndexed(C)",
        "BeginPass(tech.0)", "SetPositionBuffer(Positions)", "SetIndexBuffer(Indices)", "DrawIndexed(B)",
        "EndScene()"};
    EXPECT_EQ(DrawFrame(scene), expected);
    EXPECT_EQ(DrawFrame(loaded), expected);
}

}  // namespace
}  // namespace zel
