// What the material passes bind and set when they draw: streams, stages,
// program variants and the constants of their register maps.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/animation/SkinController.h"
#include "engine/render/material/ColorEffect.h"
#include "engine/render/material/LightmapTexture1DLEffect.h"
#include "engine/render/material/MaterialPass.h"
#include "engine/render/material/NormalmapTexture1DLEffect.h"
#include "engine/render/material/Texture1DLEffect.h"
#include "engine/render/water/ReflectiveQuietFlatWaterEffect.h"
#include "engine/render/water/ReflectiveRefractiveQuietFlatWaterEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Triangles.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

using test::RecordingRenderer;
using Register = RecordingRenderer::Register;

constexpr float kTolerance = 1e-5f;

void ExpectRegister(const Register& actual, const Register& expected) {
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], kTolerance) << "component " << i;
}

Vector3 Xyz(const Register& r) { return {r[0], r[1], r[2]}; }

template <class B>
B* NamedForPass(B* object, const char* name) {
    object->SetName(String(name));
    return object;
}

// A node placed, turned and stretched in the world, seen by a camera away
// from the origin.
struct MaterialPassDrawing : ::testing::Test {
    MaterialPassDrawing() {
        camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {3, 4, -10}));
        camera->Update(0, false);
        renderer->SetCamera(camera);
        node->SetLocal(Transform::Make({1, 2, 1}, Quaternion::FromAxisAngle({0, 1, 0}, 0.7f), {5, 0, 2}));
        node->Update(0, false);
        node->SetVertices(NamedForPass(new Vector3Buffer(3, nullptr), "positions"));
        node->SetNormals(NamedForPass(new Vector3Buffer(3, nullptr), "normals"));
        node->SetTangents(NamedForPass(new Vector3Buffer(3, nullptr), "tangents"));
        node->SetIndices(NamedForPass(new IntBuffer(3, nullptr), "indices"));
        for (int32_t set = 0; set < 4; ++set)
            node->SetTexCoords(set, NamedForPass(new Vector2Buffer(3, nullptr), ("set" + std::to_string(set)).c_str()));
    }

    // Draws `effect` on the node and keeps the calls.
    void Draw(GeometryNodeEffect* effect) {
        node->SetEffect(effect);
        renderer->ClearCalls();
        node->Draw(*renderer);
    }

    const Register& Vertex(int32_t index) { return renderer->vertexConstants.at(index); }
    const Register& Pixel(int32_t index) { return renderer->pixelConstants.at(index); }
    // The object-space vector of a register back in the world.
    Vector3 WorldDirection(const Register& r) { return Normalize(node->GetWorld().ToMatrix().TransformDirection(Xyz(r))); }
    Vector3 WorldPoint(const Register& r) { return node->GetWorld().ToMatrix().TransformPoint(Xyz(r)); }

    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<Camera> camera = new Camera(String("camera"));
    Pointer<Triangles> node = new Triangles(String("mesh"));
};

void ExpectNear(const Vector3& actual, const Vector3& expected) {
    EXPECT_NEAR(actual.x, expected.x, kTolerance);
    EXPECT_NEAR(actual.y, expected.y, kTolerance);
    EXPECT_NEAR(actual.z, expected.z, kTolerance);
}

TEST_F(MaterialPassDrawing, ColourPassSetsTransformsColourAndFog) {
    Pointer<ColorEffect> effect = new ColorEffect();
    effect->SetColor({0.25f, 0.5f, 0.75f, 1.0f});
    effect->fogDensity = 0.01f;
    effect->fogExponent = 1.5f;
    effect->waveAmplitude = 0.2f;
    effect->waveSpeed = 3.0f;
    Draw(effect);
    const Matrix4 worldView = node->GetWorld().ToMatrix() * camera->GetView();
    const Matrix4 all = worldView * camera->GetProjection();
    // Registers hold columns.
    for (int32_t i = 0; i < 4; ++i) {
        ExpectRegister(Vertex(i), {all.m[0][i], all.m[1][i], all.m[2][i], all.m[3][i]});
        ExpectRegister(Vertex(4 + i), {worldView.m[0][i], worldView.m[1][i], worldView.m[2][i], worldView.m[3][i]});
    }
    ExpectRegister(Vertex(8), {0.25f, 0.5f, 0.75f, 1.0f});
    ExpectRegister(Vertex(9), {0.01f, 1.5f, 0.2f, 3.0f});
    EXPECT_EQ(renderer->vertexConstants.count(10), 0u);  // no sway
    const std::vector<std::string> expected = {"BeginPass()", "SetIndexBuffer(indices)", "SetPositionBuffer(positions)",
                                               "SetVertexShader()", "SetPixelShader()"};
    EXPECT_EQ(renderer->Filter({"BeginPass", "SetIndex", "SetPosition", "SetVertexShader(", "SetPixelShader("}),
              expected);
}

TEST_F(MaterialPassDrawing, WaveRegisterCarriesTheEffectTime) {
    Pointer<ColorEffect> effect = new ColorEffect();
    effect->waveAmplitude = 0.2f;
    effect->waveSpeed = 3.0f;
    node->SetEffect(effect);
    effect->UpdateEffect(0.25);
    effect->UpdateEffect(0.5);
    effect->SetWave(true);
    Draw(effect);
    ExpectRegister(Vertex(10), {0.2f, 3.0f, 0.75f, 0.0f});
}

// The variant: sway before skinning before the basic program; skinning
// only with level-2.0 programs.
TEST_F(MaterialPassDrawing, RefreshPicksTheVariantAndLevel) {
    SkinController::InstallEffectHooks();
    const struct {
        const char* what;
        int32_t level;
        bool wave;
        bool skin;
        const char* vertex;
        const char* pixel;
    } kCases[] = {
        {"basic 1.x", RendererCapabilities::kShaderLevel1x, false, false, kTexturePrograms.basic.level1x.vertex,
         kTexturePrograms.basic.level1x.pixel},
        {"sway", RendererCapabilities::kShaderLevel30, true, false, kTexturePrograms.wave.level1x.vertex,
         kTexturePrograms.wave.level1x.pixel},
        {"skinned 3.0", RendererCapabilities::kShaderLevel30, false, true, kTexturePrograms.skinned.level20.vertex,
         kTexturePrograms.skinned.level20.pixel},
        {"skinned asked at 1.x", RendererCapabilities::kShaderLevel1x, false, true,
         kTexturePrograms.basic.level1x.vertex, kTexturePrograms.basic.level1x.pixel},
        {"sway wins over skinning", RendererCapabilities::kShaderLevel20, true, true,
         kTexturePrograms.wave.level1x.vertex, kTexturePrograms.wave.level1x.pixel},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        renderer->Capabilities().vertexShaderLevel = renderer->Capabilities().pixelShaderLevel = c.level;
        Pointer<TextureEffect> effect = new TextureEffect();
        ASSERT_EQ(effect->GetPassCount(*renderer), 1);
        effect->SetWave(c.wave);
        effect->SetSkinController(c.skin ? new SkinController() : nullptr);
        const auto* pass = static_cast<MaterialShaderPass*>(effect->GetPass(0));
        EXPECT_STREQ(pass->GetVertexShader()->GetProgram().CStr(), c.vertex);
        EXPECT_STREQ(pass->GetPixelShader()->GetProgram().CStr(), c.pixel);
    }
}

TEST_F(MaterialPassDrawing, SkinnedPassBindsTheSkinAndItsBones) {
    SkinController::InstallEffectHooks();
    Pointer<SkinController> skin = new SkinController();
    Pointer<Node> bone = new Node(String("bone"));
    bone->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {0, 7, 0}));
    bone->Update(0, false);
    EXPECT_EQ(skin->AddBone(bone, Transform::Identity()), kOk);
    skin->SetBindVertices(NamedForPass(new Vector3Buffer(3, nullptr), "bind"));
    skin->SetWeights(NamedForPass(new Vector4Buffer(3, nullptr), "weights"));
    skin->SetBoneIndices(NamedForPass(new Vector4Buffer(3, nullptr), "bones"));
    node->AttachController(skin);
    Pointer<TextureEffect> effect = new TextureEffect();
    effect->SetColor({1, 0, 0, 1});
    effect->SetSkinController(skin);
    skin->SetActive(false);  // what the effect's update does on a level-2.0 device
    skin->Update(0);
    Draw(effect);
    EXPECT_EQ(renderer->Filter({"SetPositionBuffer", "SetBlendWeightBuffer", "SetBlendIndexBuffer"}),
              (std::vector<std::string>{"SetPositionBuffer(bind)", "SetBlendWeightBuffer(weights)",
                                        "SetBlendIndexBuffer(bones)"}));
    const Matrix4 viewProjection = camera->GetView() * camera->GetProjection();
    ExpectRegister(Vertex(0), {viewProjection.m[0][0], viewProjection.m[1][0], viewProjection.m[2][0],
                               viewProjection.m[3][0]});
    // Bone 0's translation sits in the last entry of its first three columns.
    EXPECT_NEAR(Vertex(9)[3], 7.0f, kTolerance);
    ExpectRegister(Vertex(kSkinnedColorRegister), {1, 0, 0, 1});
    EXPECT_EQ(renderer->vertexConstants.count(8 + 4), 0u);  // one bone only
    EXPECT_EQ(renderer->vertexConstants.count(kSkinnedFogRegister), 1u);
}

// The light direction (towards the light) and the camera in object space,
// per vertex and per pixel.
TEST_F(MaterialPassDrawing, LitPassPutsLightAndCameraInObjectSpace) {
    Pointer<Light> light = new Light(Light::kDirectional, String("sun"));
    light->SetLocal(Transform::Make({1, 1, 1}, Quaternion::FromAxisAngle({1, 0, 0}, 0.9f), {}));
    light->Update(0, false);
    light->SetDiffuse({0.5f, 0.5f, 0.5f, 1});
    const Vector3 toLight = -Normalize(light->GetShiningDirection());
    for (const int32_t level : {RendererCapabilities::kShaderLevel1x, RendererCapabilities::kShaderLevel30}) {
        SCOPED_TRACE(level);
        renderer->Capabilities().vertexShaderLevel = renderer->Capabilities().pixelShaderLevel = level;
        renderer->vertexConstants.clear();
        renderer->pixelConstants.clear();
        Pointer<Texture1DLEffect> effect = new Texture1DLEffect();
        effect->SetLight(light);
        effect->diffuse = {0.1f, 0.2f, 0.3f, 1};
        Draw(effect);
        const bool perVertex = level == RendererCapabilities::kShaderLevel1x;
        ExpectNear(WorldDirection(perVertex ? Vertex(16) : Pixel(2)), toLight);
        ExpectNear(WorldPoint(perVertex ? Vertex(17) : Vertex(8)), camera->GetPosition());
        ExpectRegister(perVertex ? Vertex(9) : Pixel(7), {0.1f, 0.2f, 0.3f, 1});
        ExpectRegister(perVertex ? Vertex(14) : Pixel(8), {0.5f, 0.5f, 0.5f, 1});
        EXPECT_EQ(renderer->Filter({"SetTexCoordBuffer", "SetNormalBuffer"}),
                  (std::vector<std::string>{"SetTexCoordBuffer(set0, 0)", "SetNormalBuffer(normals)"}));
    }
    ExpectRegister(Vertex(9), {0.001f, 2.0f, 0.05f, 1.0f});  // per-pixel fog register
}

TEST_F(MaterialPassDrawing, LitPassWithoutLightIsDarkFromAbove) {
    renderer->Capabilities().vertexShaderLevel = renderer->Capabilities().pixelShaderLevel =
        RendererCapabilities::kShaderLevel1x;
    Draw(new Texture1DLEffect());
    for (int32_t index : {13, 14, 15}) ExpectRegister(Vertex(index), {0, 0, 0, 1});
    ExpectRegister(Vertex(16), {0, 1, 0, 0});
    ExpectRegister(Vertex(19), {0, 2.7182817f, 0, 0});
}

TEST_F(MaterialPassDrawing, NormalMapPassBindsTangentsAndItsRegisters) {
    Pointer<NormalmapTexture1DLEffect> effect = new NormalmapTexture1DLEffect();
    effect->SetNormalmap(NamedForPass(new Texture(nullptr), "bumps"));
    effect->SetNormalmapSet(2);
    effect->SetLight(new Light(Light::kFixedDirectional));
    Draw(effect);
    EXPECT_EQ(renderer->Filter({"SetTexCoordBuffer", "SetTexture"}),
              (std::vector<std::string>{"SetTexCoordBuffer(set0, 0)", "SetTexture(null, 0)",
                                        "SetTexCoordBuffer(set2, 1)", "SetTexture(bumps, 1)",
                                        "SetTexCoordBuffer(tangents, 2)"}));
    ExpectNear(WorldDirection(Vertex(9)), {0, 0, -1});
    ExpectRegister(Vertex(11), {0, 0.125f, 1, 2.7182817f});
    EXPECT_EQ(renderer->pixelConstants.count(7), 1u);  // power
}

// The two-pass light map: the lit texture with the light enabled, then the
// light map multiplied over the same depths.
TEST_F(MaterialPassDrawing, FixedFunctionLightMapTakesTwoPasses) {
    renderer->SetFixedFunction(2, 1);
    Pointer<LightmapTexture1DLEffect> effect = new LightmapTexture1DLEffect();
    effect->SetLight(NamedForPass(new Light(Light::kDirectional), "sun"));
    effect->SetLightmap(NamedForPass(new Texture(nullptr), "baked"));
    effect->SetLightmapSet(3);
    Draw(effect);
    EXPECT_EQ(renderer->Filter({"BeginPass", "EnableLight", "DisableLight", "SetTexture", "DrawIndexed"}),
              (std::vector<std::string>{"BeginPass()", "SetTexture(null, 0)", "EnableLight(sun, 0)",
                                        "DrawIndexed(mesh)", "DisableLight(0)", "BeginPass()",
                                        "SetTexture(baked, 0)", "DrawIndexed(mesh)"}));
    EXPECT_EQ(renderer->Count("SetTexCoordBuffer(set3, 0)"), 1);
    const RenderStateBlock& overlay = *effect->GetPass(1)->GetRenderStateBlock();
    EXPECT_TRUE(overlay.blendEnable);
    EXPECT_EQ(overlay.sourceFactor, RenderStateBlock::kDestinationColor);
    EXPECT_EQ(overlay.destinationFactor, RenderStateBlock::kZero);
    EXPECT_EQ(overlay.depthFunction, RenderStateBlock::kEqual);
    EXPECT_FALSE(effect->GetPass(0)->GetRenderStateBlock()->blendEnable);
}

// c10 = (scale u, scale v, r sin wt, r cos wt): the layers drift on the
// circle of the ripple radius.
TEST_F(MaterialPassDrawing, WaterDriftRunsOnItsCircle) {
    Pointer<ReflectiveQuietFlatWaterEffect> water = new ReflectiveQuietFlatWaterEffect();
    water->ripple = {{4, 8}, 0.5f, 2.0f};
    water->distortion = 0.03f;
    node->SetEffect(water);
    const struct {
        double seconds;
        Register drift;
    } kTimes[] = {
        {0.0, {4, 8, 0, 0.5f}},
        {0.7853981634, {4, 8, 0.5f, 0}},  // a quarter turn at 2 rad/s
        {0.7853981634, {4, 8, 0, -0.5f}},
    };
    for (const auto& t : kTimes) {
        water->UpdateEffect(t.seconds);
        Draw(water);
        ExpectRegister(Vertex(10), t.drift);
    }
    ExpectNear(WorldPoint(Vertex(9)), camera->GetPosition());
    ExpectRegister(Pixel(0), {0.03f, 0, 0, 0});
    EXPECT_EQ(renderer->Filter({"SetTexCoordBuffer", "SetTexture"}),
              (std::vector<std::string>{"SetTexCoordBuffer(set1, 1)", "SetTexture(null, 0)", "SetTexture(null, 1)"}));
}

TEST_F(MaterialPassDrawing, WaterClampsItsScreenSpaceStages) {
    Pointer<ReflectiveQuietFlatWaterEffect> quiet = new ReflectiveQuietFlatWaterEffect();
    Pointer<ReflectiveRefractiveQuietFlatWaterEffect> refractive = new ReflectiveRefractiveQuietFlatWaterEffect();
    refractive->stageAddressModes[0] = TextureStage::kClamp;  // forced back to wrap
    ASSERT_EQ(quiet->GetPassCount(*renderer), 1);
    ASSERT_EQ(refractive->GetPassCount(*renderer), 1);
    const int32_t kQuiet[] = {1, 0, 1, 1};
    const int32_t kRefractive[] = {1, 1, 0, 0};
    for (int32_t stage = 0; stage < 4; ++stage) {
        SCOPED_TRACE(stage);
        EXPECT_EQ(quiet->GetPass(0)->GetRenderStateBlock()->stages[stage].addressU, kQuiet[stage]);
        EXPECT_EQ(refractive->GetPass(0)->GetRenderStateBlock()->stages[stage].addressV, kRefractive[stage]);
    }
    refractive->SetReflectionMap(NamedForPass(new Texture(nullptr), "mirror"));
    refractive->SetRefractionMap(NamedForPass(new Texture(nullptr), "under"));
    refractive->SetFresnelMap(NamedForPass(new Texture(nullptr), "fresnel"));
    refractive->reflectionDistortion = 0.5f;
    refractive->refractionDistortion = 0.25f;
    Draw(refractive);
    EXPECT_EQ(renderer->Filter({"SetTexture", "SetNormalBuffer"}),
              (std::vector<std::string>{"SetTexture(null, 0)", "SetTexture(fresnel, 1)", "SetTexture(mirror, 2)",
                                        "SetTexture(under, 3)", "SetNormalBuffer(normals)"}));
    ExpectRegister(Pixel(0), {0.25f, 0, 0, 0});
    ExpectRegister(Pixel(2), {0.5f, 0, 0, 0});
}

}  // namespace
}  // namespace zel
