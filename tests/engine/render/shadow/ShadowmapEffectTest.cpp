// The shadow-map effect and its controller through the recording renderer:
// technique choice, the receiver pass's programs and constants, the depth
// render's target pushes and pops, the light-camera fit chosen by angle,
// and the streamed fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/render/Pass.h"
#include "engine/render/material/TextureEffect.h"
#include "engine/render/shadow/LightCameraFit.h"
#include "engine/render/shadow/RenderShadowmapEffectController.h"
#include "engine/render/shadow/ShadowmapEffect.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "engine/scene/Triangles.h"
#include "support/MathExpect.h"
#include "support/RecordingOutput.h"
#include "support/RecordingRenderer.h"
#include "support/StreamRoundTrip.h"

namespace zel {
namespace {

using test::RecordingRenderer;

template <class B>
B* NamedForShadow(B* object, const std::string& name) {
    object->SetName(String(name.c_str()));
    return object;
}

Triangles* Receiver(const std::string& name) {
    Triangles* node = NamedForShadow(new Triangles(), name);
    node->SetVertices(NamedForShadow(new Vector3Buffer(3, nullptr), name + " positions"));
    node->SetIndices(NamedForShadow(new IntBuffer(3, nullptr), name + " indices"));
    node->SetTexCoords(0, NamedForShadow(new Vector2Buffer(3, nullptr), name + " coordinates"));
    node->SetEffect(new TextureEffect());
    node->Update(0.0, false);
    return node;
}

// A receiver whose world bound is the sphere (centre, radius).
Triangles* Placed(const std::string& name, const Vector3& center, float radius) {
    Triangles* node = Receiver(name);
    static_cast<SphereBoundingVolume*>(node->GetModelBound())->SetRadius(radius);
    node->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), center));
    node->Update(0.0, false);
    return node;
}

struct ShadowmapDrawing : ::testing::Test {
    ShadowmapDrawing() {
        // Behind the listed nodes at the origin, looking along +z.
        camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {0.0f, 0.0f, -5.0f}));
        camera->Update(0.0, false);
        renderer->SetCamera(camera);
        light->GetLocal().rotation = Quaternion::LookAlong(Normalize(Vector3{0.0f, -1.0f, 0.2f}));
        light->Update(0.0, false);
        effect->SetLight(light);
        effect->SetShadowmap(map);
        EXPECT_EQ(effect->GetNodes().Add(Receiver("plane")), kOk);
        EXPECT_EQ(effect->GetNodes().Add(Receiver("box")), kOk);
        controller->SetOwner(effect);
    }

    // The recorded lines of the given calls.
    std::vector<std::string> Calls(const std::vector<std::string>& prefixes) const {
        return renderer->Filter(prefixes);
    }

    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<Camera> camera = new Camera(String("camera"));
    Pointer<Light> light = new Light(Light::kDirectional, String("sun"));
    Pointer<Texture> map =
        new Texture(new Image(String("depth"), Image::kFormatNone, 256, 128), String("shadow map"));
    Pointer<ShadowmapEffect> effect = new ShadowmapEffect();
    Pointer<RenderShadowmapEffectController> controller = new RenderShadowmapEffectController();
};

TEST_F(ShadowmapDrawing, TechniqueNeedsHardwareShadowMapsAndShaders) {
    struct Case {
        bool shadowMaps;
        int32_t pixelLevel;
        int32_t passes;
    };
    const Case cases[] = {{true, RendererCapabilities::kShaderLevel20, 2},
                          {false, RendererCapabilities::kShaderLevel20, 1},
                          {true, RendererCapabilities::kShaderLevelNone, 1}};
    for (const Case& c : cases) {
        renderer->Capabilities().hardwareShadowMaps = c.shadowMaps;
        renderer->Capabilities().pixelShaderLevel = c.pixelLevel;
        Pointer<ShadowmapEffect> fresh = new ShadowmapEffect();
        EXPECT_EQ(fresh->GetPassCount(*renderer), c.passes);
    }
}

TEST_F(ShadowmapDrawing, WithoutShadowMapsTheChildrenDrawUndarkenedAndNothingIsLogged) {
    renderer->Capabilities().hardwareShadowMaps = false;
    test::LogCapture log;
    Pointer<SceneNode> root = new SceneNode(String("root"), 0, 1);
    EXPECT_EQ(root->AddEffect(effect), kOk);
    root->Draw(*renderer);
    EXPECT_EQ(renderer->Count("DrawIndexedStreams"), 0);
    EXPECT_EQ(renderer->Count("DrawUnindexed(0)"), 1);
    EXPECT_TRUE(log->lines.empty());
}

TEST_F(ShadowmapDrawing, ReceiverPassPicksTheStageAndProgramByLevelAndSoftFlag) {
    struct Case {
        bool soft;
        int32_t pixelLevel;
        const char* stage;
        const char* program;
    };
    const char* const kSoft = "SetPixelShader(shadow_soft.psh)";
    const char* const kHard = "SetPixelShader(shadow_hard.psh)";
    const Case cases[] = {{true, RendererCapabilities::kShaderLevel20, "SetTexture(shadow map, 0)", kSoft},
                          {true, RendererCapabilities::kShaderLevel1x, "SetTexture(shadow map, 1)", kHard},
                          {false, RendererCapabilities::kShaderLevel30, "SetTexture(shadow map, 1)", kHard}};
    for (const Case& c : cases) {
        renderer->Capabilities().pixelShaderLevel = c.pixelLevel;
        Pointer<ShadowmapEffect> fresh = new ShadowmapEffect();
        fresh->SetLight(light);
        fresh->SetShadowmap(map);
        fresh->softShadows = c.soft;
        EXPECT_EQ(fresh->GetNodes().Add(Receiver("plane")), kOk);
        ASSERT_EQ(fresh->GetPassCount(*renderer), 2);
        renderer->ClearCalls();
        renderer->pixelConstants.clear();
        EXPECT_EQ(fresh->GetPass(1)->Draw(*renderer), 1);
        EXPECT_EQ(renderer->Count(c.stage), 1);
        EXPECT_EQ(renderer->Count(c.program), 1);
        if (c.program == kSoft) {
            const RecordingRenderer::Register texel = renderer->pixelConstants.at(0);
            EXPECT_FLOAT_EQ(texel[0], 1.0f / 256);
            EXPECT_FLOAT_EQ(texel[1], 1.0f / 128);
        } else {
            EXPECT_EQ(renderer->pixelConstants.count(0), 0u);
        }
    }
}

TEST_F(ShadowmapDrawing, ReceiverPassBlendsOverVisibleSurfacesOnly) {
    ASSERT_EQ(effect->GetPassCount(*renderer), 2);
    const RenderStateBlock& block = *effect->GetPass(1)->GetRenderStateBlock();
    EXPECT_TRUE(block.blendEnable);
    EXPECT_EQ(block.sourceFactor, RenderStateBlock::kSourceAlpha);
    EXPECT_EQ(block.destinationFactor, RenderStateBlock::kInverseSourceAlpha);
    EXPECT_FALSE(block.depthWrite);
    EXPECT_EQ(block.depthFunction, RenderStateBlock::kEqual);
    // Lit fragments (alpha 0) are dropped before the blend.
    EXPECT_TRUE(block.alphaTestEnable);
    EXPECT_EQ(block.alphaFunction, RenderStateBlock::kGreater);
    EXPECT_EQ(block.alphaReference, 0);
}

TEST_F(ShadowmapDrawing, EveryListedNodeIsDrawnWithItsStreamsAndTheSwayingOneWithItsCoordinates) {
    effect->GetNodes().Get(1)->GetEffect()->SetWave(true);
    effect->shadowColor = {0.1f, 0.2f, 0.3f, 0.4f};
    ASSERT_EQ(effect->GetPassCount(*renderer), 2);
    renderer->ClearCalls();
    effect->GetPass(1)->Draw(*renderer);
    EXPECT_EQ(Calls({"DrawIndexedStreams"}),
              (std::vector<std::string>{"DrawIndexedStreams(plane positions, plane indices, null, null, null)",
                                        "DrawIndexedStreams(box positions, box indices, null, null, box coordinates)"}));
    EXPECT_FLOAT_EQ(renderer->vertexConstants.at(8)[2], 0.3f);
}

TEST_F(ShadowmapDrawing, ReceiversOutsideTheViewAreNotDrawn) {
    Pointer<ShadowmapEffect> fresh = new ShadowmapEffect();
    fresh->SetLight(light);
    fresh->SetShadowmap(map);
    ASSERT_EQ(fresh->GetNodes().Add(Placed("ahead", {0.0f, 0.0f, 20.0f}, 1.0f)), kOk);
    ASSERT_EQ(fresh->GetNodes().Add(Placed("behind", {0.0f, 0.0f, -20.0f}, 1.0f)), kOk);
    ASSERT_EQ(fresh->GetNodes().Add(Placed("aside", {60.0f, 0.0f, 20.0f}, 1.0f)), kOk);
    ASSERT_EQ(fresh->GetPassCount(*renderer), 2);
    renderer->ClearCalls();
    fresh->GetPass(1)->Draw(*renderer);
    EXPECT_EQ(Calls({"DrawIndexedStreams"}),
              (std::vector<std::string>{"DrawIndexedStreams(ahead positions, ahead indices, null, null, null)"}));
}

TEST_F(ShadowmapDrawing, OnlyCastersThatCanDarkenTheViewAreDrawnIntoTheMap) {
    // The sun shines straight down; the camera at z = −5 looks along +z,
    // seeing 1 to 60 units ahead.
    camera->SetNearPlane(1.0f);
    camera->SetFarPlane(60.0f);
    camera->Update(0.0, false);
    light->GetLocal().rotation = Quaternion::LookAlong(Normalize(Vector3{0.0f, -1.0f, -0.001f}));
    light->Update(0.0, false);
    struct Case {
        const char* name;
        Vector3 center;
        bool fitToCamera;
        bool drawn;
    };
    const Case cases[] = {
        {"in view", {0.0f, 2.0f, 20.0f}, true, true},
        {"in view", {0.0f, 2.0f, 20.0f}, false, true},
        // Its shadow falls into the view, but it lies far above the light
        // camera fitted to the view.
        {"above the light frustum", {0.0f, 5000.0f, 20.0f}, true, false},
        // Inside the light camera fitted around every caster, but its shadow
        // falls behind the viewer.
        {"shadow behind", {0.0f, 2.0f, -30.0f}, false, false},
        // Beside the view, the shadow falls straight down beside it too.
        {"shadow aside", {90.0f, 2.0f, 20.0f}, false, false},
    };
    for (const Case& c : cases) {
        Pointer<ShadowmapEffect> fresh = new ShadowmapEffect();
        fresh->SetLight(light);
        fresh->SetShadowmap(map);
        fresh->fitToCamera = c.fitToCamera;
        ASSERT_EQ(fresh->GetNodes().Add(Placed("ground", {0.0f, -1.0f, 20.0f}, 10.0f)), kOk);
        ASSERT_EQ(fresh->GetNodes().Add(Placed(c.name, c.center, 1.0f)), kOk);
        Pointer<RenderShadowmapEffectController> render = new RenderShadowmapEffectController();
        render->SetOwner(fresh);
        renderer->ClearCalls();
        render->Render(*renderer);
        EXPECT_EQ(renderer->Count("DrawIndexed(ground)"), 1) << c.name;
        EXPECT_EQ(renderer->Count(std::string("DrawIndexed(") + c.name + ")"), c.drawn ? 1 : 0)
            << c.name << (c.fitToCamera ? ", fitted to the camera" : "");
    }
}

TEST_F(ShadowmapDrawing, DepthRenderPushesAndPopsBothTargetsAndRestoresTheCamera) {
    controller->Render(*renderer);
    const std::string target = std::string("SetRenderTarget(") + effect->GetColorTarget()->GetName().CStr() + ")";
    EXPECT_EQ(Calls({"SetRenderTarget", "SetDepthRenderTarget", "Clear"}),
              (std::vector<std::string>{target, "SetDepthRenderTarget(shadow map, 0)",
                                        "Clear(2)", "SetDepthRenderTarget(null, 0)", "SetRenderTarget(null)"}));
    EXPECT_EQ(renderer->GetCamera(), camera.Get());
}

TEST_F(ShadowmapDrawing, NothingIsRenderedWithoutALightOrAMap) {
    effect->SetLight(nullptr);
    controller->Render(*renderer);
    effect->SetLight(light);
    effect->SetShadowmap(nullptr);
    controller->Render(*renderer);
    EXPECT_TRUE(renderer->calls.empty());
}

TEST_F(ShadowmapDrawing, LightAlongTheViewGetsTheOrthographicFitEvenWithTheFitFlag) {
    effect->fitToCamera = true;
    effect->fitThreshold = 0.5f;
    struct Case {
        Vector3 cameraDirection;
        bool perspective;
    };
    // The light shines almost straight down: a camera looking down is along
    // it, one looking ahead at right angles to it.
    const Case cases[] = {{Normalize(Vector3{0.0f, -1.0f, 0.25f}), false}, {Normalize(Vector3{0.0f, 0.2f, 1.0f}), true}};
    for (const Case& c : cases) {
        camera->LookAlong(c.cameraDirection);
        camera->Update(0.0, false);
        RenderShadowmapEffectController::FitLightCamera(*effect, camera, 800, 600);
        // An orthographic projection keeps w = 1: its last column is (0, 0, 0, 1).
        const Matrix4& p = effect->GetLightCamera()->GetProjection();
        const bool affine = p.m[0][3] == 0.0f && p.m[1][3] == 0.0f && p.m[2][3] == 0.0f && p.m[3][3] == 1.0f;
        EXPECT_EQ(affine, !c.perspective);
    }
}

TEST_F(ShadowmapDrawing, LightTextureMatrixIsLightViewProjectionTimesBias) {
    const Matrix4 matrix = RenderShadowmapEffectController::FitLightCamera(*effect, camera, 800, 600);
    EXPECT_TRUE(test::NearMatrix(matrix, effect->GetLightCamera()->GetViewProjection() * ShadowBiasMatrix(256, 128)));
}

TEST(ShadowmapEffect, RoundTripKeepsEveryField) {
    Pointer<ShadowmapEffect> effect = new ShadowmapEffect();
    effect->SetLight(new Light(Light::kDirectional, String("sun")));
    effect->SetShadowmap(new Texture(nullptr, String("map")));
    effect->shadowColor = {0.1f, 0.2f, 0.3f, 0.4f};
    effect->fitToCamera = true;
    effect->softShadows = true;
    effect->depthBias = 3.0f;
    effect->slopeScaleBias = 1.5f;
    effect->fitThreshold = 0.25f;
    EXPECT_EQ(effect->GetNodes().Add(Receiver("plane")), kOk);
    Pointer<ShadowmapEffect> read = test::RoundTrip(effect.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetLight()->GetName(), String("sun"));
    EXPECT_EQ(read->GetShadowmap()->GetName(), String("map"));
    EXPECT_EQ(read->shadowColor, effect->shadowColor);
    EXPECT_TRUE(read->fitToCamera);
    EXPECT_TRUE(read->softShadows);
    EXPECT_EQ(read->depthBias, 3.0f);
    EXPECT_EQ(read->slopeScaleBias, 1.5f);
    EXPECT_EQ(read->fitThreshold, 0.25f);
    ASSERT_EQ(read->GetNodes().Count(), 1);
    EXPECT_EQ(read->GetNodes().Get(0)->GetName(), String("plane"));
}

}  // namespace
}  // namespace zel
